#include "core/Transform2D.h"

#include <cmath>

void Transform2D::SetIdentity() { *this = Transform2D(); }

void Transform2D::SetRotation(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float rotation[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        m[i] = rotation[i];
    }
}

Vector2 Transform2D::Apply(const Vector2& p) const {
    return {p.x * m[0] + p.y * m[3] + m[6], p.x * m[1] + p.y * m[4] + m[7]};
}
