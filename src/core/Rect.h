#pragma once
// A float rectangle made from two corner points; its edges belong to it.
#include "core/Vector2.h"

struct Rect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    // The corners may come in any order (a drag from bottom right to top left).
    static Rect FromCorners(const Vector2& a, const Vector2& b);
    // left <= x <= right and top <= y <= bottom.
    bool Contains(const Vector2& p) const;
};
