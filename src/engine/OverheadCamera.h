#pragma once
// A window camera looking straight down; its heading turns the picture about the view.
#include "engine/WindowCamera.h"

class OverheadCamera : public WindowCamera {
public:
    OverheadCamera() { Reset(kOverhead); }

    // Straight above the target at the current eye height, wrapped into the arena.
    Vector3 EyeForTarget(const Vector3& point) override;
    // Direction (0, 0, -1); up = the heading on the ground, normalised.
    bool SetHeading(const Vector3& heading) override;
};
