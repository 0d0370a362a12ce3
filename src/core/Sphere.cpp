#include "core/Sphere.h"

#include <algorithm>
#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Matrix4.h"

namespace {

float Axis(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

}  // namespace

Sphere Sphere::FromPoints(std::span<const Vector3> points) {
    if (points.empty()) {
        return Empty();
    }
    // Start from the widest of the three pairs of extreme points along x, y and z.
    const Vector3* lo = &points[0];
    const Vector3* hi = &points[0];
    float widest = -1.0f;
    for (int axis = 0; axis < 3; ++axis) {
        const Vector3* minimum = &points[0];
        const Vector3* maximum = &points[0];
        for (const Vector3& p : points) {
            if (Axis(p, axis) < Axis(*minimum, axis)) {
                minimum = &p;
            }
            if (Axis(p, axis) > Axis(*maximum, axis)) {
                maximum = &p;
            }
        }
        const float spread = minimum->DistanceSquared(*maximum);
        if (spread > widest) {
            widest = spread;
            lo = minimum;
            hi = maximum;
        }
    }
    Sphere sphere((*lo + *hi) * 0.5f, lo->Distance(*hi) * 0.5f);
    // Grow just enough to take in each point left outside.
    for (const Vector3& p : points) {
        const float d = sphere.centre.Distance(p);
        if (d > sphere.radius) {
            const float radius = (d + sphere.radius) / 2.0f;
            sphere.centre = (sphere.centre * radius + p * (d - radius)) / d;
            sphere.radius = radius;
        }
    }
    return sphere;
}

void Sphere::Merge(const Sphere& other) {
    if (other.IsEmpty()) {
        return;
    }
    if (IsEmpty()) {
        *this = other;
        return;
    }
    const float d = centre.Distance(other.centre);
    if (d + other.radius <= radius) {
        return;
    }
    if (d + radius <= other.radius) {
        *this = other;
        return;
    }
    if (d < Tolerance) {
        if (other.radius > radius) {
            *this = other;
        }
        return;
    }
    // Span both along the line of the centres, from far end to far end.
    const Vector3 direction = (other.centre - centre) / d;
    const Vector3 nearEnd = centre - direction * radius;
    const Vector3 farEnd = other.centre + direction * other.radius;
    centre = (nearEnd + farEnd) * 0.5f;
    radius = (d + radius + other.radius) / 2.0f;
}

Sphere Sphere::Transform(const Matrix4& m, const Sphere& sphere) {
    const float scaleSquared = m.m[0] * m.m[0] + m.m[4] * m.m[4] + m.m[8] * m.m[8];
    const float radius = FloatNearZero(scaleSquared) ? 0.0f : sphere.radius * std::sqrt(scaleSquared);
    return {TransformPoint(m, sphere.centre), radius};
}

int Sphere::Overlaps(const Sphere& a, const Sphere& b) {
    const float reach = a.radius + b.radius;
    return a.centre.DistanceSquared(b.centre) <= reach * reach ? 3 : 0;
}

void Sphere::WriteBinary(Stream& stream) const {
    const float values[4] = {centre.x, centre.y, centre.z, radius};
    WriteFloatsBinary(stream, values, 4);
}

void Sphere::ReadBinary(Stream& stream) {
    float values[4] = {centre.x, centre.y, centre.z, radius};
    ReadFloatsBinary(stream, values, 4);
    centre = {values[0], values[1], values[2]};
    radius = values[3];
}
