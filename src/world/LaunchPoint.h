#pragma once
// A marked ground spot where a squad enters the battle; each is handed out once.
#include <cstdint>

#include "core/Vector2.h"

class LaunchPoint {
public:
    void SetPoint(const Vector2& point) { position = point; }
    // The shared cross marker on the ground around the point.
    void Draw() const;

    Vector2 position;  // ground x and y
    uint8_t used = 0;
};
