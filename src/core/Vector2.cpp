#include "core/Vector2.h"

#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"

void Vector2::ScaleCopy(const Vector2& v, float s, Vector2& out) { out = v * s; }

Vector2 Vector2::Rotated(float angle) const {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {x * c - y * s, y * c + x * s};
}

bool Vector2::IsNearZero() const { return FloatNearZero(x) && FloatNearZero(y); }

bool Vector2::NearlyEqual(const Vector2& a, const Vector2& b) { return (a - b).IsNearZero(); }

Point Vector2::ToPoint() const { return {TruncateToInt(x), TruncateToInt(y)}; }

void Vector2::WriteText(Stream& stream) const {
    const float values[2] = {x, y};
    WriteFloatsText(stream, values, 2);
}

void Vector2::ReadText(Stream& stream) {
    float values[2] = {x, y};
    ReadFloatsText(stream, values, 2);
    x = values[0];
    y = values[1];
}

void Vector2::WriteBinary(Stream& stream) const {
    const float values[2] = {x, y};
    WriteFloatsBinary(stream, values, 2);
}

void Vector2::ReadBinary(Stream& stream) {
    float values[2] = {x, y};
    ReadFloatsBinary(stream, values, 2);
    x = values[0];
    y = values[1];
}

Vector2 Normalize2D(const Vector2& v) { return v.DivideBy(v.Length()); }
