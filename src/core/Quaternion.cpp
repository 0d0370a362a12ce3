#include "core/Quaternion.h"

#include <algorithm>
#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"

Quaternion Quaternion::Multiply(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
            a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Vector3 Quaternion::RotateVector(const Vector3& v) const {
    // q v q*, expanded: v + w t + u x t with u the vector part and t = 2 u x v.
    const Vector3 u(x, y, z);
    const Vector3 t = u.Cross(v) * 2.0f;
    return v + t * w + u.Cross(t);
}

Matrix4 Quaternion::ToMatrix() const {
    const float s = 2.0f / (x * x + y * y + z * z + w * w);
    Matrix4 r = Matrix4::Zero();
    r.m[0] = 1.0f - s * (y * y + z * z);
    r.m[1] = s * (x * y + w * z);
    r.m[2] = s * (x * z - w * y);
    r.m[4] = s * (x * y - w * z);
    r.m[5] = 1.0f - s * (x * x + z * z);
    r.m[6] = s * (y * z + w * x);
    r.m[8] = s * (x * z + w * y);
    r.m[9] = s * (y * z - w * x);
    r.m[10] = 1.0f - s * (x * x + y * y);
    r.m[15] = 1.0f;
    return r;
}

Quaternion Quaternion::FromMatrix(const Matrix4& matrix) {
    const float* m = matrix.m;
    const float trace = 1.0f + m[0] + m[5] + m[10];
    if (trace > Tolerance) {
        const float r = 2.0f * std::sqrt(trace);
        return {(m[6] - m[9]) / r, (m[8] - m[2]) / r, (m[1] - m[4]) / r, r / 4.0f};
    }
    // Near a half turn w is too small to divide by: start from the largest diagonal
    // element instead.
    if (m[0] > m[5] && m[0] > m[10]) {
        const float r = 2.0f * std::sqrt(1.0f + m[0] - m[5] - m[10]);
        return {r / 4.0f, (m[1] + m[4]) / r, (m[2] + m[8]) / r, (m[6] - m[9]) / r};
    }
    if (m[10] >= m[5]) {
        const float r = 2.0f * std::sqrt(1.0f + m[10] - m[0] - m[5]);
        return {(m[2] + m[8]) / r, (m[6] + m[9]) / r, r / 4.0f, (m[1] - m[4]) / r};
    }
    const float r = 2.0f * std::sqrt(1.0f + m[5] - m[0] - m[10]);
    return {(m[1] + m[4]) / r, r / 4.0f, (m[6] + m[9]) / r, (m[8] - m[2]) / r};
}

Quaternion Quaternion::FromAxisAngle(const Vector3& axis, float angle) {
    const float length = axis.Length();
    if (FloatNearZero(length)) {
        return {};
    }
    const float s = std::sin(angle / 2.0f);
    return {axis.x / length * s, axis.y / length * s, axis.z / length * s, std::cos(angle / 2.0f)};
}

void Quaternion::SetFromAxisAngle(const Vector3& axis, float angle) { *this = FromAxisAngle(axis, angle); }

Quaternion Quaternion::FromTwoVectors(const Vector3& from, const Vector3& to) {
    if (from.IsNearZero() || to.IsNearZero()) {
        return {};
    }
    const Vector3 a = from.Normalized();
    const Vector3 b = to.Normalized();
    Vector3 axis = a.Cross(b);
    float angle = std::asin(std::min(axis.Length(), 1.0f));
    if (a.Dot(b) < 0.0f) {
        angle = kPi - angle;
    }
    if (FloatNearZero(angle)) {
        return {};
    }
    if (FloatNearZero(kPi - angle)) {
        // Opposite directions: any axis perpendicular to a will do.
        axis = FloatNearZero(a.y * a.y + a.z * a.z) ? Vector3(0, 0, 1) : Vector3(0, a.z, -a.y);
    }
    axis.Normalize();
    return FromAxisAngle(axis, angle).Normalized();
}

Quaternion Quaternion::Slerp(const Quaternion& from, const Quaternion& b, float t) {
    Quaternion a = from;
    float cosine = std::clamp(a.Dot(b), -1.0f, 1.0f);
    // q and -q are the same rotation: take the shorter arc. After this cosine >= 0, so
    // the two rotations are never opposite on the sphere.
    if (cosine < 0.0f) {
        a = {-a.x, -a.y, -a.z, -a.w};
        cosine = -cosine;
    }
    float wa = 1.0f - t;
    float wb = t;
    if (!FloatNearZero(1.0f - cosine)) {
        const float omega = std::acos(cosine);
        const float sinOmega = std::sin(omega);
        wa = std::sin((1.0f - t) * omega) / sinOmega;
        wb = std::sin(t * omega) / sinOmega;
    }
    return {wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w};
}

float Quaternion::Length() const { return std::sqrt(x * x + y * y + z * z + w * w); }

void Quaternion::Normalize() {
    const float length = Length();
    x /= length;
    y /= length;
    z /= length;
    w /= length;
}

Quaternion Quaternion::Normalized() const {
    Quaternion copy = *this;
    copy.Normalize();
    return copy;
}

void Quaternion::WriteText(Stream& stream) const {
    const float values[4] = {x, y, z, w};
    WriteFloatsText(stream, values, 4);
}

void Quaternion::ReadText(Stream& stream) {
    float values[4] = {x, y, z, w};
    ReadFloatsText(stream, values, 4);
    *this = {values[0], values[1], values[2], values[3]};
}

void Quaternion::WriteBinary(Stream& stream) const {
    const float values[4] = {x, y, z, w};
    WriteFloatsBinary(stream, values, 4);
}

void Quaternion::ReadBinary(Stream& stream) {
    float values[4] = {x, y, z, w};
    ReadFloatsBinary(stream, values, 4);
    *this = {values[0], values[1], values[2], values[3]};
}
