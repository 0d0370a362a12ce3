#include "core/Rect.h"

#include <algorithm>

Rect Rect::FromCorners(const Vector2& a, const Vector2& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Rect::Contains(const Vector2& p) const { return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom; }
