// Segments compared by the matcher, and the pattern's lines between its objects.
#include "units/MatchLine.h"

#include "core/MathUtil.h"
#include "units/PatternObject.h"

namespace {

// Below this length a direction is mostly rounding.
constexpr float kMinDirectionLength = 0.001f;
// A facing line reaches this far along the object's facing.
constexpr float kFacingLineLength = 3.0f;

}  // namespace

void MatchLine::Set(void* lineOwner, const Vector2& lineStart, const Vector2& lineEnd) {
    owner = lineOwner;
    start = lineStart;
    end = lineEnd;
    const Vector2 offset = end - start;
    const float length = offset.Length();
    direction = length >= kMinDirectionLength ? offset.DivideBy(length) : Vector2(1.0f, 0.0f);
}

float MatchLine::Length() const { return start.Distance(end); }

float MatchLine::ClosestParam(const Vector2& p) const {
    const Vector2 offset = end - start;
    // A line whose ends coincide has no parameter to speak of: the foot is its start.
    if (offset.Length() <= Tolerance) {
        return 0.0f;
    }
    return offset.Dot(p - start) / offset.LengthSquared();
}

Vector2 MatchLine::ClosestPoint(const Vector2& p, float* t) const {
    const float param = ClosestParam(p);
    if (t) {
        *t = param;
    }
    return start + (end - start) * param;
}

int MatchLine::Side(const Vector2& p) const {
    if ((end - start).Length() <= Tolerance) {
        return 1;
    }
    const Vector2 offset = p - start;
    const float cross = direction.x * offset.y - direction.y * offset.x;
    return cross < 0.0f ? -1 : 1;
}

void PatternLine::Set(PatternObject* fromObject, PatternObject* toObject) {
    from = fromObject;
    to = toObject;
    if (from == to) {
        MatchLine::Set(from, from->position, from->position + from->FacingDirection() * kFacingLineLength);
        return;
    }
    MatchLine::Set(from, from->position, to->position);
}
