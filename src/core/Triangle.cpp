#include "core/Triangle.h"

Vector3 Triangle::Normal() const { return TriangleNormal(a, b, c); }

Vector3 TriangleNormal(const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 n = (b - a).Cross(c - a);
    const float length = n.Length();
    return length == 0.0f ? n : n / length;
}
