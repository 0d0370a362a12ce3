#pragma once
// A 2-D affine transform, row-major 3 x 3: (x, y) maps to
// (x m0 + y m3 + m6, x m1 + y m4 + m7).
#include "core/Vector2.h"

struct Transform2D {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    void SetIdentity();
    // m0 = cos, m1 = sin, m3 = -sin, m4 = cos, m8 = 1, the rest 0.
    void SetRotation(float angle);
    Vector2 Apply(const Vector2& p) const;
};
