#include "core/Spline.h"

#include <cmath>

#include "core/MathUtil.h"

namespace {

template <typename V>
V CatmullRomPoint(const V& a, const V& b, const V& c, const V& d, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return (b * 2.0f + (c - a) * t + (a * 2.0f - b * 5.0f + c * 4.0f - d) * t2 + (b * 3.0f - a - c * 3.0f + d) * t3) *
           0.5f;
}

template <typename V>
V PointOfSegment(std::span<const V> points, int i, float t) {
    const int n = static_cast<int>(points.size());
    if (n == 0) {
        return {};
    }
    i = ((i % n) + n) % n;
    return CatmullRomPoint(points[(i + n - 1) % n], points[i], points[(i + 1) % n], points[(i + 2) % n], t);
}

template <typename V>
float LengthOfSegment(std::span<const V> points, int i, int steps) {
    float length = 0.0f;
    for (int k = 0; k < steps; ++k) {
        const V from = PointOfSegment(points, i, static_cast<float>(k) / steps);
        const V to = PointOfSegment(points, i, static_cast<float>(k + 1) / steps);
        length += (to - from).Length();
    }
    return length;
}

}  // namespace

Vector3 CatmullRom(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d, float t) {
    return CatmullRomPoint(a, b, c, d, t);
}

Vector3 SplinePoint(std::span<const Vector3> points, int i, float t) { return PointOfSegment(points, i, t); }

Vector2 SplinePoint(std::span<const Vector2> points, int i, float t) { return PointOfSegment(points, i, t); }

float SplineSegmentLength(std::span<const Vector3> points, int i, int steps) {
    return LengthOfSegment(points, i, steps);
}

float SplineSegmentLength(std::span<const Vector2> points, int i, int steps) {
    return LengthOfSegment(points, i, steps);
}

Vector2 SplineLoopPoint(std::span<const Vector2> points, float u) {
    const float position = u * static_cast<float>(points.size());
    const float segment = std::floor(position);
    return SplinePoint(points, TruncateToInt(segment), position - segment);
}
