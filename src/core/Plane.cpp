#include "core/Plane.h"

#include "core/MathUtil.h"
#include "core/Sphere.h"
#include "core/Triangle.h"

Plane Plane::FromNormalAndPoint(const Vector3& normal, const Vector3& point) { return {normal, -normal.Dot(point)}; }

Plane Plane::FromTriangle(const Triangle& triangle) { return FromNormalAndPoint(triangle.Normal(), triangle.a); }

int Plane::ClassifyPoint(const Vector3& p) const {
    const float s = SignedDistance(p);
    if (FloatNearZero(s)) {
        return 0;
    }
    return s > 0.0f ? -1 : 1;
}

int Plane::ClassifySphere(const Sphere& sphere) const {
    const float s = SignedDistance(sphere.centre);
    if (s * s <= sphere.radius * sphere.radius) {
        return 0;
    }
    return ClassifyPoint(sphere.centre);
}

Vector3 Plane::Project(const Vector3& p) const { return p - normal * SignedDistance(p); }

Vector3 ProjectPointOntoPlane(const Plane& plane, const Vector3& p) { return plane.Project(p); }
