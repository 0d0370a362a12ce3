// Angles and headings on the ground plane.
#include "core/Angles.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"

namespace {

// Two points nearer than this have no heading between them.
constexpr float kHeadingMinDistance = 0.01f;

// Into [0, 2 pi). One fmod instead of a loop of steps: the same result for ordinary
// angles, an end for infinite ones and no long wait for huge ones. An angle that is no
// number folds to 0.
float FoldAngle(float a) {
    // The remainder of an angle already in range is the angle itself.
    if (a >= 0.0f && a < kTwoPi) return a;
    if (!std::isfinite(a)) return 0.0f;
    a = std::fmod(a, kTwoPi);
    if (a < 0.0f) a += kTwoPi;
    // A tiny negative angle plus 2 pi rounds up to 2 pi itself.
    if (a >= kTwoPi) a -= kTwoPi;
    return a;
}

}  // namespace

Vector2 VectorFromAngle(float angle) { return {std::cos(angle), std::sin(angle)}; }

double SafeAcos(double x) { return std::acos(std::clamp(x, -1.0, 1.0)); }

float AngleBetween(const Vector3& a, const Vector3& b) {
    return static_cast<float>(SafeAcos(a.Normalized().Dot(b.Normalized())));
}

float AngleDifference(float a, float b) {
    a = FoldAngle(a);
    b = FoldAngle(b);
    if (a <= b) {
        const float d = b - a;
        return d > kPi ? b - (a + kTwoPi) : d;
    }
    return a - b > kPi ? (b + kTwoPi) - a : b - a;
}

float HeadingBetween(const Vector2& from, const Vector2& to) {
    const Vector2 d = to - from;
    const float length = d.Length();
    if (length < kHeadingMinDistance) return 0.0f;
    // The angle to the x axis (1, 0, 0) through the normalised dot product, with the
    // terms of the unit axis that are 1 or 0 written out; the products by 0 stay, so an
    // infinite component gives the same answer as the general product would.
    const float dot = d.x / length + 0.0f * (d.y / length);
    const float angle = static_cast<float>(SafeAcos(dot));
    // The z of the cross product of the axis and the direction.
    return d.y - 0.0f * d.x < 0.0f ? -angle : angle;
}
