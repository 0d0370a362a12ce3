// A damped follower.
#include "core/Spring.h"

#include <algorithm>
#include <cmath>

namespace {
// A longer frame is integrated as this one, so a stall cannot fling the point.
constexpr float kMaxStep = 0.033f;
// Within this distance of the target there is no pull and no damping.
constexpr float kRestDistance = 0.01f;

// The snap to rest looks at a coarser tolerance than the rest of the math; it is kept
// local so the shared tolerance is never touched.
bool AtRest(const Vector3& v) {
    return std::fabs(v.x) <= kRestDistance && std::fabs(v.y) <= kRestDistance && std::fabs(v.z) <= kRestDistance;
}
}  // namespace

void Spring::Init(float newStiffness, float newDamping, float newFollowFactor) {
    stiffness = newStiffness;
    damping = newDamping;
    followFactor = newFollowFactor;
    Reset();
}

void Spring::SetDefaults() { Init(2.5f, 0.95f, 0.1f); }

Vector3 Spring::Step(const Vector3& current, const Vector3& target, float frameTime) {
    const float h = std::min(frameTime, kMaxStep);
    const Vector3 d = target - current;
    if (AtRest(velocity) && AtRest(d)) {
        velocity = Vector3();
        return target;
    }
    if (d.Length() > kRestDistance && followFactor != 0.0f) {
        velocity += (d * stiffness - velocity * damping) * (h / followFactor);
    }
    return current + velocity * h;
}
