#pragma once
// An axis-aligned box.
#include "core/Vector3.h"

class Stream;

struct Box {
    Vector3 minimum;
    Vector3 maximum;

    Box() = default;
    Box(const Vector3& lo, const Vector3& hi) : minimum(lo), maximum(hi) {}
    // An inverted box that the first AddPoint turns into that point.
    static Box Empty();

    // The minimum exceeds the maximum on no axis.
    bool IsValid() const;
    // The largest of the three side lengths.
    float MaxExtent() const;
    // Extends each minimum and maximum component to hold the point.
    void AddPoint(const Vector3& p);
    void AddBox(const Box& other);

    // Minimum then maximum, six little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};
