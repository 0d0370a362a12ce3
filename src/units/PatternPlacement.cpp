// Pattern placement: the matched pattern's path points, facing handles and action targets
// carried from pattern coordinates into the world, each along and across its nearest
// pattern line and rebuilt along and across the linked world line.
#include <cmath>

#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "units/Action.h"
#include "units/MatchLine.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternMatcher.h"
#include "units/PatternObject.h"
#include "units/PolarLayout.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

namespace {

// A facing line runs this far ahead of its object.
constexpr float kFacingLineLength = 3.0f;
// Lines that touch the unit are long-range guides; a point is mapped through them only
// when no line between other objects lies about as near.
constexpr float kOwnLinePenalty = 0.25f;

Vector2 Ground(const Vector3& p) { return {p.x, p.y}; }

bool IsFinite(const Vector3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The point of the line's segment nearest q; a facing line counts as its object's place.
Vector2 NearestOnSegment(const PatternLine& line, const Vector2& q) {
    if (line.IsFacingLine()) {
        return line.start;
    }
    return line.start + (line.end - line.start) * SegmentParam(line.start, line.end, q);
}

}  // namespace

void WrapLine::Set(WorldObject* fromObject, WorldObject* toObject) {
    from = fromObject;
    to = toObject;
    const Vector2 start = Ground(fromObject->previousPosition);
    if (fromObject == toObject) {
        const Vector3 heading = fromObject->GetHeadingVector();
        MatchLine::Set(fromObject, start, start + Vector2(heading.x, heading.y) * kFacingLineLength);
        return;
    }
    MatchLine::Set(fromObject, start, Ground(toObject->previousPosition));
}

void PatternMatcher::PlacePattern(Vorn& unit, Pattern* pattern) {
    if (pattern == nullptr) {
        unit.SetCurrentPattern(nullptr);
        return;
    }
    PlaceProvisionally(unit, *pattern);
    PlacePath(unit, *pattern);
    unit.QueuePatternActions(pattern->pathPoints);
}

void PatternMatcher::PlaceProvisionally(Vorn& unit, Pattern& pattern) {
    unit.SetCurrentPattern(&pattern);
    for (WorldObject* w : worldObjects_) {
        w->matchIndex = -1;
        w->matchedPatternObject = nullptr;
    }
    pattern.LinkObjectsToWorld();
    BuildWorldLines(unit);
    pattern.BuildLines();
    // The teleport fade that marks a new pattern starts when its first action does
    // (Vorn::ShowPatternStart).
    unit.patternFrame = unit.BuildWorldMatrix();
    LinkLines(pattern);
}

void PatternMatcher::BuildWorldLines(Vorn& unit) {
    worldLines_.Clear();
    auto addLine = [this](WorldObject* from, WorldObject* to) {
        WrapLine line;
        line.Set(from, to);
        worldLines_.Append(line);
    };
    const int n = worldObjects_.Count();
    for (int i = 0; i < n; ++i) {
        if (worldObjects_[i]->matchedPatternObject == nullptr) {
            continue;
        }
        for (int j = i + 1; j < n; ++j) {
            if (worldObjects_[j]->matchedPatternObject != nullptr) {
                addLine(worldObjects_[i], worldObjects_[j]);
            }
        }
    }
    for (WorldObject* w : worldObjects_) {
        if (w != &unit && w->kind == kKindVorn && w->matchedPatternObject != nullptr &&
            w->matchedPatternObject->HasFacing()) {
            addLine(w, w);
        }
    }
    if (worldLines_.IsEmpty()) {
        addLine(&unit, &unit);
    }
}

void PatternMatcher::LinkLines(Pattern& pattern) {
    for (PatternLine& line : pattern.lines) {
        line.link = nullptr;
    }
    for (WrapLine& line : worldLines_) {
        line.link = nullptr;
    }
    for (PatternLine& line : pattern.lines) {
        for (WrapLine& world : worldLines_) {
            const WorldObject* from = line.from->linkedObject;
            const WorldObject* to = line.to->linkedObject;
            if (from == world.from && to == world.to) {
                line.link = &world;
                world.link = &line;
            } else if (from == world.to && to == world.from) {
                line.Set(line.to, line.from);
                line.link = &world;
                world.link = &line;
            }
        }
    }
}

void PatternMatcher::PlacePath(const Vorn& unit, Pattern& pattern) {
    for (int i = 0; i < pattern.pathPoints.Count(); ++i) {
        PathPoint& point = *pattern.pathPoints[i];
        if (i == 0) {
            // The path starts where the unit stands, facing the way it faces.
            point.worldPosition = gArena->GroundPoint(unit.position.x, unit.position.y);
            point.worldFacing =
                gArena->GroundPoint(unit.position.x + std::cos(unit.heading), unit.position.y + std::sin(unit.heading));
        } else {
            point.worldPosition = MapPoint(unit, pattern, point.position);
            point.worldFacing = MapPoint(unit, pattern, point.facing);
        }
        for (Action* action : point.actions) {
            action->worldPoint = MapPoint(unit, pattern, action->point);
        }
    }
}

Vector3 PatternMatcher::MapPoint(const Vorn& unit, const Pattern& pattern, const Vector2& q,
                                 const PatternLine** usedLine) const {
    const PatternLine* best = nullptr;
    float bestScore = 0.0f;
    for (const PatternLine& line : pattern.lines) {
        if (line.link == nullptr) {
            continue;
        }
        const Vector2 foot = line.ClosestPoint(q);
        const Vector2 nearest = NearestOnSegment(line, q);
        float score = (foot - q).LengthSquared() + (nearest - q).LengthSquared();
        if (line.from == pattern.ownObject || line.to == pattern.ownObject) {
            score += kOwnLinePenalty * (line.end - line.start).LengthSquared();
        }
        if (best == nullptr || score < bestScore) {
            best = &line;
            bestScore = score;
        }
    }
    if (usedLine != nullptr) {
        *usedLine = best;
    }
    if (best == nullptr) {
        return MapWithoutLine(unit, q);
    }
    const Vector3 mapped = MapThroughLine(unit, pattern, *best, q);
    return IsFinite(mapped) ? mapped : MapWithoutLine(unit, q);
}

Vector3 PatternMatcher::MapWithoutLine(const Vorn& unit, const Vector2& q) const {
    const Vector3 p = TransformPoint(unit.patternFrame, Vector3(q.x, q.y, 0.0f));
    return gArena->WrapPosition(gArena->GroundPoint(p.x, p.y));
}

Vector3 PatternMatcher::MapThroughLine(const Vorn& unit, const Pattern& pattern, const PatternLine& line,
                                       const Vector2& q) const {
    const WrapLine& world = *static_cast<const WrapLine*>(line.link);
    const Vector2& a = line.start;
    const Vector2& b = line.end;
    // Two pattern objects on one spot make a line without length: the point is taken
    // from the first end, on its left.
    float t = 0.0f;
    Vector2 foot = a;
    int side = 1;
    if ((b - a).Length() > Tolerance) {
        foot = line.ClosestPoint(q, &t);
        side = line.Side(q);
    }
    const float dist = (foot - q).Length();

    const Vector2& a2 = world.start;
    const Vector2& b2 = world.end;
    Vector2 u = world.direction;
    if ((b2 - a2).Length() <= Tolerance) {
        const Vector3 heading = world.from->GetHeadingVector();
        u = Vector2(heading.x, heading.y);
    }
    Vector2 base = a2 + (b2 - a2) * t;
    if (!world.IsFacingLine()) {
        if (t < 0.0f) {
            base = a2 - u * (a - foot).Length();
        } else if (t > 1.0f) {
            base = b2 + u * (b - foot).Length();
        }
    }

    // A point keeps its side of the line.
    float d = side == 1 ? dist : -dist;
    const WorldObject* self = &unit;
    if (!world.IsFacingLine() && world.from != self && world.to != self) {
        const PolarLayout& layout = pattern.Layout();
        const int32_t pa = layout.FindPosition(pattern.FindObject(line.from));
        const int32_t pb = layout.FindPosition(pattern.FindObject(line.to));
        // When the unit sees the pair from the other side than the pattern draws it, the
        // point follows the unit's view.
        if (pa >= 0 && pb >= 0 && layout.R1(pb, pa) != 0 &&
            line.Side(Vector2()) == -world.Side(Ground(unit.position))) {
            d = -d;
        }
    }
    const Vector2 point = base + Vector2(-u.y, u.x) * d;
    return gArena->WrapPosition(gArena->GroundPoint(point.x, point.y));
}
