#include "core/Box.h"

#include <algorithm>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"

Box Box::Empty() { return {{kFloatMax, kFloatMax, kFloatMax}, {-kFloatMax, -kFloatMax, -kFloatMax}}; }

bool Box::IsValid() const { return minimum.x <= maximum.x && minimum.y <= maximum.y && minimum.z <= maximum.z; }

float Box::MaxExtent() const { return std::max({maximum.x - minimum.x, maximum.y - minimum.y, maximum.z - minimum.z}); }

void Box::AddPoint(const Vector3& p) {
    minimum = {std::min(minimum.x, p.x), std::min(minimum.y, p.y), std::min(minimum.z, p.z)};
    maximum = {std::max(maximum.x, p.x), std::max(maximum.y, p.y), std::max(maximum.z, p.z)};
}

void Box::AddBox(const Box& other) {
    AddPoint(other.minimum);
    AddPoint(other.maximum);
}

void Box::WriteBinary(Stream& stream) const {
    const float values[6] = {minimum.x, minimum.y, minimum.z, maximum.x, maximum.y, maximum.z};
    WriteFloatsBinary(stream, values, 6);
}

void Box::ReadBinary(Stream& stream) {
    float values[6] = {minimum.x, minimum.y, minimum.z, maximum.x, maximum.y, maximum.z};
    ReadFloatsBinary(stream, values, 6);
    minimum = {values[0], values[1], values[2]};
    maximum = {values[3], values[4], values[5]};
}
