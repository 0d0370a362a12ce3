#include "core/Frame.h"

#include "core/MathStreamIO.h"

Vector3 Frame::ToLocal(const Vector3& p) const {
    const Vector3 offset = p - origin;
    return {offset.Dot(x), offset.Dot(y), offset.Dot(z)};
}

void Frame::WriteBinary(Stream& stream) const {
    const float values[12] = {x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z, origin.x, origin.y, origin.z};
    WriteFloatsBinary(stream, values, 12);
}

void Frame::ReadBinary(Stream& stream) {
    float values[12] = {x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z, origin.x, origin.y, origin.z};
    ReadFloatsBinary(stream, values, 12);
    x = {values[0], values[1], values[2]};
    y = {values[3], values[4], values[5]};
    z = {values[6], values[7], values[8]};
    origin = {values[9], values[10], values[11]};
}
