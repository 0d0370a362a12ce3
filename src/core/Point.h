#pragma once
// A pixel position.
#include <cstdint>

class Stream;

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    constexpr Point() = default;
    constexpr Point(int32_t px, int32_t py) : x(px), y(py) {}

    Point operator+(const Point& other) const;
    Point operator-(const Point& other) const;
    // Integer division toward zero; a divisor of 0 leaves the point unchanged.
    Point operator/(int32_t divisor) const;
    bool operator==(const Point& other) const = default;

    // "< x, y >"
    void WriteText(Stream& stream) const;
    void ReadText(Stream& stream);
};
