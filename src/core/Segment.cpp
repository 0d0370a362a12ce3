#include "core/Segment.h"

#include "core/Geometry.h"

namespace {

// How far a swept shape stops short of contact along its path.
constexpr float kStopClearance = 0.005f;

}  // namespace

void Segment::Set(const Vector3& s, const Vector3& e) {
    start = s;
    end = e;
}

Vector3 Segment::ClosestPoint(const Vector3& p) const { return PointAt(SegmentParam(start, end, p)); }

Vector3 Segment::PointPulledBack(float t) const {
    const Vector3 direction = Direction();
    const float length = direction.Length();
    if (length == 0.0f) {
        return start;
    }
    return PointAt(t) - direction * (kStopClearance / length);
}
