#include "core/Vector3.h"

#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"

Vector3& Vector3::operator+=(const Vector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

Vector3& Vector3::operator-=(const Vector3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
}

Vector3& Vector3::operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

Vector3 Vector3::Cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }

float Vector3::Length() const { return std::sqrt(x * x + y * y + z * z); }

float Vector3::Distance(const Vector3& o) const { return (*this - o).Length(); }

float Vector3::DistanceSquared(const Vector3& o) const { return (*this - o).LengthSquared(); }

void Vector3::Normalize() {
    const float length = Length();
    x /= length;
    y /= length;
    z /= length;
}

Vector3 Vector3::Normalized() const {
    Vector3 copy = *this;
    copy.Normalize();
    return copy;
}

bool Vector3::IsNearZero() const { return FloatNearZero(x) && FloatNearZero(y) && FloatNearZero(z); }

float DotProduct(const Vector3& a, const Vector3& b) { return a.Dot(b); }

Vector3 CrossProduct(const Vector3& a, const Vector3& b) { return a.Cross(b); }

bool VectorsNearlyEqual(const Vector3& a, const Vector3& b) { return (a - b).IsNearZero(); }

void Vector3::WriteText(Stream& stream) const {
    const float values[3] = {x, y, z};
    WriteFloatsText(stream, values, 3);
}

void Vector3::ReadText(Stream& stream) {
    float values[3] = {x, y, z};
    ReadFloatsText(stream, values, 3);
    *this = {values[0], values[1], values[2]};
}

void Vector3::WriteBinary(Stream& stream) const {
    const float values[3] = {x, y, z};
    WriteFloatsBinary(stream, values, 3);
}

void Vector3::ReadBinary(Stream& stream) {
    float values[3] = {x, y, z};
    ReadFloatsBinary(stream, values, 3);
    *this = {values[0], values[1], values[2]};
}
