#pragma once
// A sphere; a negative radius (-1) marks an empty sphere.
#include <span>

#include "core/Vector3.h"

class Stream;
struct Matrix4;

struct Sphere {
    Vector3 centre;
    float radius = 0.0f;

    Sphere() = default;
    Sphere(const Vector3& c, float r) : centre(c), radius(r) {}
    static Sphere Empty() { return Sphere({0, 0, 0}, -1.0f); }
    bool IsEmpty() const { return radius < 0.0f; }

    // A sphere holding every point (extreme-pair start, then grown point by point);
    // centre (0, 0, 0) and radius -1 for no points.
    static Sphere FromPoints(std::span<const Vector3> points);
    // Grows this sphere to enclose other; an empty other changes nothing and an empty
    // this becomes other.
    void Merge(const Sphere& other);
    // Centre through the matrix; radius times the length of (m0, m4, m8), 0 when that
    // squared length is near zero.
    static Sphere Transform(const Matrix4& m, const Sphere& sphere);
    // 3 when the two spheres overlap or touch, else 0.
    static int Overlaps(const Sphere& a, const Sphere& b);

    // Centre then radius, four little-endian 4-byte floats.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};
