#pragma once
// A window camera looking 45 degrees down along a horizontal heading, z up.
#include "engine/WindowCamera.h"

class TiltedCamera : public WindowCamera {
public:
    static constexpr float kTilt = 0.78539816339745f;  // pi / 4

    TiltedCamera() { Reset(kTilted); }

    // Back from the target along the view until the current eye height, wrapped into
    // the arena.
    Vector3 EyeForTarget(const Vector3& point) override;
    bool SetHeading(const Vector3& heading) override;
};
