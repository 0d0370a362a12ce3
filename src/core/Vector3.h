#pragma once
// A 3-D vector or point of 32-bit floats; z is up in the world.
#include <cmath>

class Stream;

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vector3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vector3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    bool operator==(const Vector3& o) const = default;

    static Vector3 MulScalar(const Vector3& v, float s) { return v * s; }
    static Vector3 ScalarMul(float s, const Vector3& v) { return v * s; }
    Vector3 Negated() const { return {-x, -y, -z}; }

    float Dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 Cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    float LengthSquared() const { return x * x + y * y + z * z; }
    float Distance(const Vector3& o) const { return (*this - o).Length(); }
    float DistanceSquared(const Vector3& o) const { return (*this - o).LengthSquared(); }
    // Divides by the length; callers test IsNearZero first.
    void Normalize() {
        const float length = Length();
        x /= length;
        y /= length;
        z /= length;
    }
    Vector3 Normalized() const {
        Vector3 copy = *this;
        copy.Normalize();
        return copy;
    }

    // Every component within the tolerance.
    bool IsNearZero() const;

    // "< x, y, z >"
    void WriteText(Stream& stream) const;
    void ReadText(Stream& stream);
    // Three little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};

inline Vector3 operator*(float s, const Vector3& v) { return v * s; }

float DotProduct(const Vector3& a, const Vector3& b);
Vector3 CrossProduct(const Vector3& a, const Vector3& b);
// Every component of the difference within the tolerance.
bool VectorsNearlyEqual(const Vector3& a, const Vector3& b);
