#include "core/Vector3.h"

#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"

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
