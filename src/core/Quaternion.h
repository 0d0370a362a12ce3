#pragma once
// A rotation quaternion of floats; the identity is (0, 0, 0, 1).
#include "core/Matrix4.h"
#include "core/Vector3.h"

class Stream;

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}
    bool operator==(const Quaternion& o) const = default;

    // The Hamilton product a b.
    static Quaternion Multiply(const Quaternion& a, const Quaternion& b);
    // v rotated by this unit quaternion.
    Vector3 RotateVector(const Vector3& v) const;

    // Computed with 2 / (x² + y² + z² + w²), so the quaternion need not be of unit length.
    Matrix4 ToMatrix() const;
    // The rotation part of m (elements 0-2, 4-6, 8-10) as a unit quaternion.
    static Quaternion FromMatrix(const Matrix4& m);
    // (axis / |axis| sin(angle / 2), cos(angle / 2)); the identity for a near-zero axis.
    static Quaternion FromAxisAngle(const Vector3& axis, float angle);
    void SetFromAxisAngle(const Vector3& axis, float angle);
    // The rotation that turns direction a onto direction b.
    static Quaternion FromTwoVectors(const Vector3& a, const Vector3& b);
    // Along the shorter arc from a (t = 0) to b (t = 1), not renormalised.
    static Quaternion Slerp(const Quaternion& a, const Quaternion& b, float t);

    float Dot(const Quaternion& o) const { return x * o.x + y * o.y + z * o.z + w * o.w; }
    float Length() const;
    // Divides by the length of all four components.
    void Normalize();
    Quaternion Normalized() const;

    // "< x, y, z, w >"
    void WriteText(Stream& stream) const;
    void ReadText(Stream& stream);
    // Four little-endian 4-byte floats x, y, z, w.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};
