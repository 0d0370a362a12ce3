#pragma once
// An integer screen rectangle; both corners belong to it.
#include <cstdint>

#include "core/Point.h"

struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr IntRect() = default;
    constexpr IntRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

    // Grows this rectangle to enclose the other.
    void Union(const IntRect& other);
    // ((left + right) / 2, (top + bottom) / 2) by integer division.
    Point GetCenter() const;
    // left <= x <= right and top <= y <= bottom.
    bool Contains(const Point& p) const;
    bool Contains(int32_t x, int32_t y) const;
    Point TopLeft() const { return {left, top}; }
    Point BottomRight() const { return {right, bottom}; }
    bool operator==(const IntRect& other) const = default;
};
