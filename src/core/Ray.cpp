#include "core/Ray.h"

#include <algorithm>
#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Plane.h"
#include "core/Sphere.h"
#include "core/Triangle.h"

namespace {

float Reciprocal(float value) { return value == 0.0f ? kFloatMax : 1.0f / value; }

float Component(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

}  // namespace

void Ray::Init(const Vector3& o, const Vector3& d) {
    origin = o;
    direction = d;
    inverseDirection = {Reciprocal(d.x), Reciprocal(d.y), Reciprocal(d.z)};
}

float Ray::ClosestParam(const Vector3& p) const {
    const float lengthSquared = direction.LengthSquared();
    if (lengthSquared == 0.0f) {
        return 0.0f;
    }
    return direction.Dot(p - origin) / lengthSquared;
}

int Ray::IntersectPlane(const Plane& plane, float& t) const {
    const float denominator = plane.normal.Dot(direction);
    if (FloatNearZero(denominator)) {
        return 2;
    }
    t = -(plane.normal.Dot(origin) + plane.d) / denominator;
    return 3;
}

int Ray::HitsSphere(const Sphere& sphere, float rayRadius) const {
    const float reach = sphere.radius + rayRadius;
    return ClosestPoint(sphere.centre).DistanceSquared(sphere.centre) <= reach * reach ? 3 : 0;
}

int Ray::IntersectTriangle(const Triangle& triangle, float& t, float& miss) const {
    const Plane plane = Plane::FromTriangle(triangle);
    float crossing = 0.0f;
    const int code = IntersectPlane(plane, crossing);
    if (code != 3) {
        return code;
    }
    t = crossing;
    // Barycentric parameters on the two axes left after dropping the normal's dominant
    // one, where the projected triangle has the largest area.
    const Vector3 n(std::fabs(plane.normal.x), std::fabs(plane.normal.y), std::fabs(plane.normal.z));
    const int dropped = n.x >= n.y && n.x >= n.z ? 0 : (n.y >= n.z ? 1 : 2);
    const int i = dropped == 0 ? 1 : 0;
    const int j = dropped == 2 ? 1 : 2;
    const Vector3 e1 = triangle.b - triangle.a;
    const Vector3 e2 = triangle.c - triangle.a;
    const Vector3 w = PointAt(crossing) - triangle.a;
    const float det = Component(e1, i) * Component(e2, j) - Component(e1, j) * Component(e2, i);
    const float u = (Component(w, i) * Component(e2, j) - Component(w, j) * Component(e2, i)) / det;
    const float v = (Component(e1, i) * Component(w, j) - Component(e1, j) * Component(w, i)) / det;
    if (u >= 0.0f && v >= 0.0f && u + v <= 1.0f) {
        miss = 0.0f;
        return 3;
    }
    miss = std::max({-u, -v, u + v - 1.0f});
    return 0;
}

void Ray::WriteBinary(Stream& stream) const {
    const float values[6] = {origin.x, origin.y, origin.z, direction.x, direction.y, direction.z};
    WriteFloatsBinary(stream, values, 6);
}

void Ray::ReadBinary(Stream& stream) {
    float values[6] = {origin.x, origin.y, origin.z, direction.x, direction.y, direction.z};
    ReadFloatsBinary(stream, values, 6);
    Init({values[0], values[1], values[2]}, {values[3], values[4], values[5]});
}

Vector3 PointAlongRay(const Ray& ray, float t) { return ray.origin + ray.direction * t; }
