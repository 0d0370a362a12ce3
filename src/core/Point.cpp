#include "core/Point.h"

#include "core/MathStreamIO.h"

Point Point::operator+(const Point& other) const { return {x + other.x, y + other.y}; }

Point Point::operator-(const Point& other) const { return {x - other.x, y - other.y}; }

Point Point::operator/(int32_t divisor) const {
    if (divisor == 0) {
        return *this;
    }
    // In 64 bits so that the lowest value divided by -1 does not overflow.
    return {static_cast<int32_t>(int64_t(x) / divisor), static_cast<int32_t>(int64_t(y) / divisor)};
}

void Point::WriteText(Stream& stream) const {
    const int32_t values[2] = {x, y};
    WriteIntsText(stream, values, 2);
}

void Point::ReadText(Stream& stream) {
    int32_t values[2] = {x, y};
    ReadIntsText(stream, values, 2);
    x = values[0];
    y = values[1];
}
