#pragma once
// One action of a path point: what the unit does there, and where it aims.
#include <cstdint>

#include "core/Vector2.h"
#include "core/Vector3.h"

class Action {
public:
    static constexpr int32_t kNone = 15;

    // Back to no action: kind 15, point and seconds zero.
    void Clear();

    int32_t kind = kNone;  // 0..14
    Vector2 point;         // aimed kinds: the target; others: the icon's place on the ring
    Vector3 worldPoint;
    float seconds = 0.0f;  // "SetTimer" only
};
