#pragma once
// A 2-D vector or point of 32-bit floats.
#include <cmath>

#include "core/Point.h"

class Stream;

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vector2() = default;
    constexpr Vector2(float vx, float vy) : x(vx), y(vy) {}

    Vector2 operator+(const Vector2& other) const { return {x + other.x, y + other.y}; }
    Vector2 operator-(const Vector2& other) const { return {x - other.x, y - other.y}; }
    Vector2 operator-() const { return {-x, -y}; }
    Vector2 operator*(float s) const { return {x * s, y * s}; }
    Vector2& operator+=(const Vector2& other) {
        x += other.x;
        y += other.y;
        return *this;
    }
    Vector2& operator-=(const Vector2& other) {
        x -= other.x;
        y -= other.y;
        return *this;
    }
    bool operator==(const Vector2& other) const = default;

    void Copy(const Vector2& v) { *this = v; }
    Vector2 Scale(float s) const { return {x * s, y * s}; }
    static void ScaleCopy(const Vector2& v, float s, Vector2& out);
    // Division by a scalar; the divisor is the caller's concern.
    Vector2 DivideBy(float s) const { return {x / s, y / s}; }

    float Dot(const Vector2& other) const { return x * other.x + y * other.y; }
    float Length() const { return std::sqrt(x * x + y * y); }
    float LengthSquared() const { return x * x + y * y; }
    float Distance(const Vector2& other) const { return (*this - other).Length(); }
    float DistanceSquared(const Vector2& other) const { return (*this - other).LengthSquared(); }
    // Divides by the length; a zero vector is the caller's concern.
    void Normalize() {
        const float length = Length();
        x /= length;
        y /= length;
    }
    Vector2 Normalized() const {
        Vector2 copy = *this;
        copy.Normalize();
        return copy;
    }
    // Turned by angle radians: (x cos a - y sin a, y cos a + x sin a).
    Vector2 Rotated(float angle) const;

    bool IsNearZero() const;
    static bool NearlyEqual(const Vector2& a, const Vector2& b);
    // Each component truncated toward zero.
    Point ToPoint() const;

    // "< x, y >"
    void WriteText(Stream& stream) const;
    void ReadText(Stream& stream);
    // Two little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};

inline Vector2 operator*(float s, const Vector2& v) { return v * s; }

// v divided by its length; the caller passes a non-zero vector.
Vector2 Normalize2D(const Vector2& v);
