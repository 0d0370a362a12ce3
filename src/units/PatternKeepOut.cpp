#include "units/PatternKeepOut.h"

#include <algorithm>
#include <cmath>

#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"

namespace {

constexpr float kDiagramZoom = 32.0f;

// The share of the segment inside the circle, or an empty stretch (from > to).
SegmentStretch InsideOf(const KeepOutCircle& circle, const Vector2& start, const Vector2& along) {
    const Vector2 offset = start - circle.centre;
    const float a = along.LengthSquared();
    const float b = 2.0f * offset.Dot(along);
    const float c = offset.LengthSquared() - circle.radius * circle.radius;
    const float disc = b * b - 4.0f * a * c;
    if (a <= 0.0f || disc <= 0.0f) return {1.0f, 0.0f};
    const float root = std::sqrt(disc);
    return {(-b - root) / (2.0f * a), (-b + root) / (2.0f * a)};
}

}  // namespace

int PatternDrawLayer(int32_t kind) {
    switch (kind) {
        case kPatternHealthField:
        case kPatternGooField:
        case kPatternStaticField:
        case kPatternFriendGoal:
        case kPatternEnemyGoal: return 0;
        case kPatternBeacon: return 1;
        default: return 2;
    }
}

void PatternKeepOut::Build(const Pattern& pattern, float zoom) {
    circles_.clear();
    const float scale = zoom / kDiagramZoom;
    for (const PatternObject* object : pattern.objects) {
        if (object->HasFacing()) Add(object->facing, kHandleRadius * scale);
    }
    for (const PathPoint* point : pattern.pathPoints) {
        if (point->HasFacing()) Add(point->facing, kHandleRadius * scale);
    }
    for (const PathPoint* point : pattern.pathPoints) {
        for (const Action* action : point->actions) {
            if (action->IsAimed()) Add(action->point, kIconRadius * scale);
        }
    }
    for (const MapConditional* condition : pattern.mapConditionals) Add(condition->position, kIconRadius * scale);
    for (int layer = 0; layer < kPatternDrawLayers; ++layer) {
        for (const PatternObject* object : pattern.objects) {
            if (PatternDrawLayer(object->kind) == layer) Add(object->position, object->Radius());
        }
    }
    for (const PathPoint* point : pattern.pathPoints) Add(point->position, kIconRadius * scale);
}

std::vector<SegmentStretch> PatternKeepOut::Outside(const Vector2& start, const Vector2& end) const {
    const Vector2 along = end - start;
    std::vector<SegmentStretch> covered;
    for (const KeepOutCircle& circle : circles_) {
        const SegmentStretch inside = InsideOf(circle, start, along);
        if (inside.to > 0.0f && inside.from < 1.0f) covered.push_back(inside);
    }
    std::sort(covered.begin(), covered.end(),
              [](const SegmentStretch& a, const SegmentStretch& b) { return a.from < b.from; });
    std::vector<SegmentStretch> outside;
    float reached = 0.0f;
    for (const SegmentStretch& inside : covered) {
        if (inside.from > reached) outside.push_back({reached, inside.from});
        reached = std::max(reached, inside.to);
    }
    if (reached < 1.0f) outside.push_back({reached, 1.0f});
    return outside;
}
