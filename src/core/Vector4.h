#pragma once
// A 4-component float record.
struct Vector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr Vector4() = default;
    constexpr Vector4(float vx, float vy, float vz, float vw) : x(vx), y(vy), z(vz), w(vw) {}

    Vector4 operator+(const Vector4& o) const { return {x + o.x, y + o.y, z + o.z, w + o.w}; }
    bool operator==(const Vector4& o) const = default;

    static Vector4 Scale(const Vector4& v, float s) { return {v.x * s, v.y * s, v.z * s, v.w * s}; }
    static Vector4 ScaleBy(float s, const Vector4& v) { return Scale(v, s); }
};
