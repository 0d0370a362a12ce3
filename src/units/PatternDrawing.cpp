// Drawing of a pattern: the flat diagram of the editors and the pattern of a unit in the
// arena with its walk-through.
#include "core/Angles.h"
#include "core/Matrix4.h"
#include "engine/Renderer.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "units/PatternKeepOut.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

// Walk-through speeds in units per second: the unit turns toward an action's point more
// slowly than it walks.
constexpr float kActionWalkSpeed = 10.0f;
constexpr float kSegmentWalkSpeed = 8.0f;

void DrawPathPointFacing(const PathPoint& point, float zoom) {
    DrawPatternLine(point.position, point.facing, 0.7f * zoom / 32.0f, 0.2f);
    DrawPatternSprite(CurrentPathIcons().facing, point.facing, 1.4f * zoom / 32.0f,
                      HeadingBetween(point.position, point.facing));
}

}  // namespace

void Pattern::Draw(float zoom, const PatternDrawParts& parts) const {
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawPatternModel(GetPatternIcons().background);
    renderer.SetBlendOff();
    if (parts.showConditionals) {
        const PatternIcons& icons = GetPatternIcons();
        const float x = 25.0f - 50.0f / 14.0f;
        for (int n = 0; n < kConditionalCount; ++n) {
            if (conditionals.flags[n]) {
                DrawPatternSprite(icons.miniConditional, Vector2(x, 25.0f - (n + 2) * 50.0f / 16.0f),
                                  0.45f * zoom / 32.0f);
            }
        }
        if (priority > 0) {
            DrawPatternSprite(icons.miniPriority, Vector2(x, 25.0f - 50.0f * 0.875f), 0.45f * zoom / 32.0f);
        }
    }
    DrawDiagramPaths(zoom, parts);
    DrawDiagramMarks(zoom, parts);
    DrawDraggedParts(zoom, parts);
}

void Pattern::DrawDiagramPaths(float zoom, const PatternDrawParts& parts) const {
    for (const PatternObject* object : objects) {
        if (object != parts.objectHandle && object != parts.object) {
            object->DrawFacingLine(zoom);
            object->DrawFacing(zoom);
        }
    }
    for (int i = 1; i < pathPoints.Count(); ++i) {
        const PathPoint* point = pathPoints[i];
        if (point->HasFacing() && point != parts.pathPointHandle && point != parts.pathPoint) {
            DrawPathPointFacing(*point, zoom);
        }
    }
    for (const PathPoint* point : pathPoints) {
        if (point != parts.pathPoint) {
            point->DrawActionRing(zoom, parts.orderBadges, parts.action);
        }
    }
    // The path runs between the icons and handles, not under them.
    PatternKeepOut keepOut;
    keepOut.Build(*this, zoom);
    const PatternIcons& icons = GetPatternIcons();
    for (int i = 1; i < pathPoints.Count(); ++i) {
        const PathPoint* from = pathPoints[i - 1];
        const PathPoint* to = pathPoints[i];
        if (from == parts.pathPoint || to == parts.pathPoint) continue;
        const Vector2 step = to->position - from->position;
        for (const SegmentStretch& stretch : keepOut.Outside(from->position, to->position)) {
            DrawPatternStrip(icons.pathStrip, from->position + step * stretch.from, from->position + step * stretch.to,
                             kPatternHitRadius, zoom, PatternPulsePhase());
        }
    }
}

void Pattern::DrawDiagramMarks(float zoom, const PatternDrawParts& parts) const {
    for (const PathPoint* point : pathPoints) {
        if (point != parts.pathPoint) {
            point->Draw(zoom);
        }
        point->DrawAimedActions(zoom, parts.orderBadges, parts.action);
    }
    for (int layer = 0; layer < kPatternDrawLayers; ++layer) {
        for (const PatternObject* object : objects) {
            if (PatternDrawLayer(object->kind) == layer && object != parts.object) {
                object->Draw(zoom, false, false, nullptr);
                object->DrawProperties(zoom);
            }
        }
    }
    for (const MapConditional* condition : mapConditionals) {
        if (condition != parts.mapConditional) {
            condition->Draw(zoom, 0xFFFFFFFFu);
        }
    }
}

void Pattern::DrawDraggedParts(float zoom, const PatternDrawParts& parts) const {
    if (parts.pathPoint) {
        const int index = FindPathPoint(parts.pathPoint);
        const PatternIcons& icons = GetPatternIcons();
        if (index > 0) {
            DrawPatternStrip(icons.pathStrip, pathPoints[index - 1]->position, parts.pathPoint->position,
                             kPatternHitRadius, zoom, PatternPulsePhase());
        }
        if (index >= 0 && index + 1 < pathPoints.Count()) {
            DrawPatternStrip(icons.pathStrip, parts.pathPoint->position, pathPoints[index + 1]->position,
                             kPatternHitRadius, zoom, PatternPulsePhase());
        }
        parts.pathPoint->DrawActionRing(zoom, parts.orderBadges, parts.action);
        parts.pathPoint->Draw(zoom);
    }
    if (parts.pathPointHandle && parts.pathPointHandle->HasFacing()) {
        DrawPathPointFacing(*parts.pathPointHandle, zoom);
    }
    if (parts.objectHandle && parts.objectHandle != parts.object) {
        parts.objectHandle->DrawFacingLine(zoom);
        parts.objectHandle->DrawFacing(zoom);
    }
    if (parts.object) {
        parts.object->DrawFacingLine(zoom);
        parts.object->DrawFacing(zoom);
        parts.object->Draw(zoom, true, false, nullptr);
        parts.object->DrawProperties(zoom);
    }
    if (parts.mapConditional) {
        parts.mapConditional->Draw(zoom, 0xFFFFFFFFu);
    }
    if (parts.action && parts.action->HasKind()) {
        DrawPatternSprite(GetPatternIcons().actionButtons[parts.action->kind], parts.action->point,
                          2.8f * zoom / 32.0f);
    }
}

bool Pattern::FindWalkStep(float time, PatternWalkStep& step) const {
    for (int i = 0; i < pathPoints.Count(); ++i) {
        const PathPoint& point = *pathPoints[i];
        const int stepCount = point.actions.Count() + (i + 1 < pathPoints.Count() ? 1 : 0);
        for (int k = 0; k < stepCount; ++k) {
            const bool isAction = k < point.actions.Count();
            const Vector2 target = isAction ? point.actions[k]->point : pathPoints[i + 1]->position;
            const float duration = point.position.Distance(target) / (isAction ? kActionWalkSpeed : kSegmentWalkSpeed);
            if (duration > 0.0f && time <= duration) {
                step.pathPoint = i;
                step.action = isAction ? k : -1;
                step.fraction = time / duration;
                return true;
            }
            time -= duration;
        }
    }
    return false;
}

namespace {

// A pattern point carried into the world by the unit's frame, at the image nearest the
// unit, on the ground.
Vector3 ToWorld(const Matrix4& frame, const Vector3& unitPosition, const Vector2& q) {
    const Vector3 image = gArena->NearestImage(unitPosition, TransformPoint(frame, Vector3(q.x, q.y, 0.0f)));
    return gArena->GroundPoint(image.x, image.y);
}

// The unit's frame moved to one of its wrapped images: the view may show the unit on a
// copy of the map that is not where the unit's own position lies.
Matrix4 ImageFrame(Vorn& unit, const Vector3& image) {
    Matrix4 frame = unit.BuildWorldMatrix();
    frame.SetTranslation(image);
    return frame;
}

}  // namespace

void Pattern::DrawInArena(Vorn& unit, const Vector3& image, bool walkThrough) const {
    if (!gArena) {
        return;
    }
    if (PatternPulseUnit() != &unit) {
        SetPatternPulseUnit(&unit);
        ResetPatternPulse();
    }
    const Matrix4 frame = ImageFrame(unit, image);
    const Vector3& at = image;
    auto world = [&](const Vector2& q) { return ToWorld(frame, at, q); };
    for (const PatternObject* object : objects) {
        if (PatternKindInfo(object->kind).facing && object->HasFacing()) {
            DrawGroundLine(world(object->position), world(object->facing));
        }
    }
    for (const PathPoint* point : pathPoints) {
        if (point->HasFacing()) {
            DrawGroundLine(world(point->position), world(point->facing));
        }
    }
    const PatternIcons& icons = GetPatternIcons();
    for (const PathPoint* point : pathPoints) {
        for (const Action* action : point->actions) {
            if (action->IsAimed()) {
                DrawGroundLine(world(point->position), world(action->point));
                DrawGroundSprite(icons.actionButtons[action->kind], world(action->point), kPatternHitRadius);
            }
        }
    }
    for (int i = 1; i < pathPoints.Count(); ++i) {
        DrawGroundPath(world(pathPoints[i - 1]->position), world(pathPoints[i]->position));
    }
    for (const PatternObject* object : objects) {
        DrawGroundCircle(world(object->position), object->Radius() / 3.0f);
    }
    for (const PathPoint* point : pathPoints) {
        if (point->HasFacing()) {
            DrawGroundCircle(world(point->facing), kPatternHitRadius / 3.0f);
        }
        DrawGroundCircle(world(point->position), kPatternHitRadius / 3.0f);
    }
    for (const MapConditional* condition : mapConditionals) {
        if (condition->kind >= 0 && condition->kind < kMapConditionKindCount) {
            DrawGroundSprite(icons.mapConditions[condition->kind], world(condition->position), 1.4f);
        }
    }
    for (int layer = 0; layer < kPatternDrawLayers; ++layer) {
        for (const PatternObject* object : objects) {
            if (PatternDrawLayer(object->kind) != layer) {
                continue;
            }
            const PatternIconSet& set = CurrentObjectIcons(object->kind);
            const bool turned = PatternKindInfo(object->kind).facing && object->HasFacing();
            const float angle = turned ? HeadingBetween(object->position, object->facing) + unit.heading : 0.0f;
            DrawGroundSprite(turned ? set.wedge : set.icon, world(object->position), 2.0f * object->Radius(), angle);
        }
    }
    if (!walkThrough || PatternPulseTime() <= 0.0f) {
        return;
    }
    PatternWalkStep step;
    if (!FindWalkStep(PatternPulseTime(), step)) {
        SetPatternPulseTime(0.0f);
        return;
    }
    DrawPathStepInArena(unit, image, step);
}

void Pattern::DrawPathStepInArena(Vorn& unit, const Vector3& image, const PatternWalkStep& step) const {
    if (!gArena || step.pathPoint < 0 || step.pathPoint >= pathPoints.Count()) {
        return;
    }
    const Matrix4 frame = ImageFrame(unit, image);
    const Vector3& at = image;
    const PathPoint& point = *pathPoints[step.pathPoint];
    const bool isAction = step.action >= 0 && step.action < point.actions.Count();
    if (!isAction && step.pathPoint + 1 >= pathPoints.Count()) {
        return;
    }
    const Vector2 from = point.position;
    const Vector2 to = isAction ? point.actions[step.action]->point : pathPoints[step.pathPoint + 1]->position;
    // The unit arrives facing along the segment before; at the first point it faces as the
    // pattern does.
    const float arriving =
        step.pathPoint > 0 ? HeadingBetween(pathPoints[step.pathPoint - 1]->position, from) : 0.0f;
    const float leaving = HeadingBetween(from, to);
    // The arrival at the path point is complete while the unit acts there.
    if (isAction && step.pathPoint > 0) DrawArrowhead(ToWorld(frame, at, from), arriving + unit.heading);
    DrawGroundArc(ToWorld(frame, at, from), kPatternHitRadius, arriving + unit.heading,
                  AngleDifference(arriving, leaving));
    DrawArrowhead(ToWorld(frame, at, from + (to - from) * step.fraction), leaving + unit.heading);
}
