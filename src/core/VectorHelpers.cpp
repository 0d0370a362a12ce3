// Small vector helpers.
#include "core/VectorHelpers.h"

#include <cmath>

#include "core/Angles.h"
#include "core/MathUtil.h"
#include "core/Plane.h"
#include "core/Quaternion.h"
#include "platform/sys/Random.h"

namespace {

constexpr int kRingPoints = 8;

// One draw of the generator in [0, 1].
float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

float RandomSigned() { return 2.0f * RandomUnit() - 1.0f; }

}  // namespace

Vector3 Vec3Lerp(float t, const Vector3& a, const Vector3& b) { return a + (b - a) * t; }

Vector4 Vec4Subtract(const Vector4& a, const Vector4& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }

Vector3 RayHitHeightPlane(const Ray& ray, float height) {
    const Plane plane(Vector3(0.0f, 0.0f, 1.0f), -height);
    float t = 0.0f;
    if (ray.IntersectPlane(plane, t) != 3) return ray.origin;
    return ray.PointAt(t);
}

Vector3 RandomUnitVector() {
    Vector3 v;
    do {
        v.z = RandomSigned();
        v.y = RandomSigned();
        v.x = RandomSigned();
    } while (v.IsNearZero());
    return v * (1.0f / v.Length());
}

Vector2 RandomAimDirection(const Vector2& from, const Vector2& to, float spread) {
    const Vector2 d = to - from;
    const float length = d.Length();
    if (!(length > kDefaultTolerance)) return to;
    const Quaternion turn = Quaternion::FromTwoVectors(Vector3(1.0f, 0.0f, 0.0f), Vector3(d.x, d.y, 0.0f));
    const float theta = -spread / 2.0f + spread * RandomUnit();
    const Vector2 v = Normalize2D(VectorFromAngle(theta)) * length;
    const Vector3 turned = turn.RotateVector(Vector3(v.x, v.y, 0.0f));
    return from + Vector2(turned.x, turned.y);
}

Vector3 PointOnRing8(const Array<Vector3>& ring, float angle) {
    if (ring.Count() < kRingPoints || !std::isfinite(angle)) return ring.IsEmpty() ? Vector3() : ring[0];
    const float step = kTwoPi / float(kRingPoints);
    int i = 0;
    while (i < kRingPoints && float(i + 1) * step < angle) ++i;
    const float t = (angle - float(i) * step) / step;
    return Vec3Lerp(t, ring[i % kRingPoints], ring[(i + 1) % kRingPoints]);
}
