#pragma once
// A line segment; as a Ray its direction is end - start, so t runs from 0 to 1.
#include "core/Ray.h"
#include "core/Vector3.h"

struct Segment {
    Vector3 start;
    Vector3 end;

    Segment() = default;
    Segment(const Vector3& s, const Vector3& e) : start(s), end(e) {}

    void Set(const Vector3& s, const Vector3& e);
    Vector3 Direction() const { return end - start; }
    Ray ToRay() const { return Ray(start, end - start); }
    Vector3 PointAt(float t) const { return start + (end - start) * t; }
    // The point of the segment nearest to p.
    Vector3 ClosestPoint(const Vector3& p) const;
    // The point at t moved 0.005 back toward the start along the unit direction (the
    // start itself when the segment has no length): where a swept shape stops clear of
    // contact.
    Vector3 PointPulledBack(float t) const;
};
