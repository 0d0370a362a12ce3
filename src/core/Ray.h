#pragma once
// A ray or line: the point at t is origin + t direction. The direction is not
// normalised, so t is measured in direction lengths.
#include "core/Vector3.h"

class Stream;
struct Plane;
struct Sphere;
struct Triangle;

struct Ray {
    Vector3 origin;
    Vector3 direction;
    // 1 / direction per axis (the largest float for a zero component), for box tests.
    Vector3 inverseDirection;

    Ray() = default;
    Ray(const Vector3& o, const Vector3& d) { Init(o, d); }

    // Stores the ray and the reciprocals of its direction.
    void Init(const Vector3& o, const Vector3& d);

    Vector3 PointAt(float t) const { return origin + direction * t; }
    // t of the point of the line nearest to p; 0 for a ray without direction.
    float ClosestParam(const Vector3& p) const;
    Vector3 ClosestPoint(const Vector3& p) const { return PointAt(ClosestParam(p)); }

    // 2 when the direction is parallel to the plane within the tolerance (t untouched);
    // otherwise 3 with t of the crossing.
    int IntersectPlane(const Plane& plane, float& t) const;
    // 3 when the line passes within the sphere's radius plus rayRadius of its centre.
    int HitsSphere(const Sphere& sphere, float rayRadius = 0.0f) const;
    // As IntersectPlane for a parallel ray (2); otherwise 3 when the plane crossing lies
    // inside the triangle (miss = 0), else 0 with miss measuring how far outside the
    // nearest edge it lies (in barycentric units). t is the plane crossing either way.
    int IntersectTriangle(const Triangle& triangle, float& t, float& miss) const;

    // Origin then direction, six little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};

// origin + t x direction.
Vector3 PointAlongRay(const Ray& ray, float t);
