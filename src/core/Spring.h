#pragma once
// A damped follower: moves a point toward a target over frames, so that what follows
// something (a camera, a body's sway) lags and settles instead of jumping.
#include "core/Vector3.h"

class Spring {
public:
    Spring() { SetDefaults(); }

    void Init(float stiffness, float damping, float followFactor);
    // Stiffness 2.5, damping 0.95, follow factor 0.1, at rest.
    void SetDefaults();
    void Reset() { velocity = Vector3(); }
    // The point after one frame of h = frameTime (at most 0.033 s):
    // farther than 0.01 from the target, velocity += h (stiffness d - damping velocity) /
    // follow factor with d = target - current; the point moves by velocity h. Near the
    // target with a near-zero velocity it snaps to the target and rests.
    Vector3 Step(const Vector3& current, const Vector3& target, float frameTime);

    Vector3 velocity;
    float stiffness = 0.0f;     // pull per unit of distance
    float damping = 0.0f;       // slowing per unit of velocity
    float followFactor = 0.0f;  // divides both: the mass of the point
};
