#pragma once
// The points p with normal . p + d = 0.
#include "core/Vector3.h"

struct Sphere;
struct Triangle;

struct Plane {
    Vector3 normal;
    float d = 0.0f;

    Plane() = default;
    Plane(const Vector3& n, float dist) : normal(n), d(dist) {}

    // The normal unchanged, d = -(normal . point).
    static Plane FromNormalAndPoint(const Vector3& normal, const Vector3& point);
    // The unit normal of the corners, d = -(normal . first corner).
    static Plane FromTriangle(const Triangle& triangle);

    float SignedDistance(const Vector3& p) const { return normal.Dot(p) + d; }
    // 0 when p lies on the plane (within the tolerance); -1 on the side the normal
    // points to; 1 behind.
    int ClassifyPoint(const Vector3& p) const;
    // 0 when the sphere touches or crosses the plane; otherwise the side of its centre
    // as ClassifyPoint gives it.
    int ClassifySphere(const Sphere& sphere) const;
    // p - (normal . p + d) normal.
    Vector3 Project(const Vector3& p) const;
};

Vector3 ProjectPointOntoPlane(const Plane& plane, const Vector3& p);
