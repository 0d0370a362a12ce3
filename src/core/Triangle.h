#pragma once
#include "core/Vector3.h"

struct Triangle {
    Vector3 a;
    Vector3 b;
    Vector3 c;

    Triangle() = default;
    Triangle(const Vector3& p0, const Vector3& p1, const Vector3& p2) : a(p0), b(p1), c(p2) {}

    Vector3 Normal() const;
};

// The unit normal of (b - a) x (c - a); a zero cross product stays zero.
Vector3 TriangleNormal(const Vector3& a, const Vector3& b, const Vector3& c);
