#pragma once
// An origin with three axes.
#include "core/Vector3.h"

class Stream;

struct Frame {
    Vector3 origin;
    Vector3 x{1, 0, 0};
    Vector3 y{0, 1, 0};
    Vector3 z{0, 0, 1};

    // ((p - origin) . x, (p - origin) . y, (p - origin) . z)
    Vector3 ToLocal(const Vector3& p) const;

    // The axes x, y, z, then the origin: twelve little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};
