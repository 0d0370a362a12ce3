#include "core/IntRect.h"

#include <algorithm>

void IntRect::Union(const IntRect& other) {
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

Point IntRect::GetCenter() const {
    return {static_cast<int32_t>((int64_t(left) + right) / 2), static_cast<int32_t>((int64_t(top) + bottom) / 2)};
}

bool IntRect::Contains(const Point& p) const { return Contains(p.x, p.y); }

bool IntRect::Contains(int32_t x, int32_t y) const { return left <= x && x <= right && top <= y && y <= bottom; }
