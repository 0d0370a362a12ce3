// A point of a pattern's path: its actions, facing handle, action ring and text form.
#include "units/PathPoint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Angles.h"
#include "core/Stream.h"
#include "core/String.h"
#include "units/Action.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "world/Arena.h"

PathPoint::PathPoint() { LoadPatternIcons(); }

PathPoint& PathPoint::operator=(const PathPoint& other) {
    if (&other == this) {
        return *this;
    }
    position = other.position;
    facing = other.facing;
    worldPosition = other.worldPosition;
    worldFacing = other.worldFacing;
    SetActionCount(other.actions.Count());
    for (int i = 0; i < actions.Count(); ++i) {
        *actions[i] = *other.actions[i];
    }
    return *this;
}

void PathPoint::Clear() {
    SetActionCount(0);
    position = Vector2();
    facing = Vector2();
    worldPosition = Vector3();
    worldFacing = Vector3();
}

void PathPoint::SetActionCount(int count) {
    count = std::clamp(count, 0, kMaxActions);
    while (actions.Count() > count) {
        Action* action = actions[actions.Count() - 1];
        actions.RemoveAt(actions.Count() - 1);
        if (gArena) {
            gArena->FreeAction(action);
        }
    }
    while (actions.Count() < count && AddAction()) {
    }
}

Action* PathPoint::AddAction() {
    if (actions.Count() >= kMaxActions || !gArena) {
        return nullptr;
    }
    Action* action = gArena->NewAction();
    actions.Append(action);
    return action;
}

void PathPoint::RemoveAction(Action* action) {
    const int index = FindAction(action);
    if (index < 0) {
        return;
    }
    actions.RemoveAt(index);
    gArena->FreeAction(action);
}

int PathPoint::FindAction(const Action* action) const {
    for (int i = 0; i < actions.Count(); ++i) {
        if (actions[i] == action) {
            return i;
        }
    }
    return -1;
}

int PathPoint::InstantActionCount() const {
    int count = 0;
    for (const Action* action : actions) {
        count += action->IsAimed() ? 0 : 1;
    }
    return count;
}

bool PathPoint::HasFacing() const { return facing.DistanceSquared(position) > kPatternHitRadius * kPatternHitRadius; }

void PathPoint::SetPosition(const Vector2& point) {
    if (!HasFacing()) {
        facing = point;
    }
    position = point;
}

void PathPoint::AimedActionsNear(const Vector2& p, Array<Action*>& out) const {
    for (Action* action : actions) {
        if (action->IsAimed() && action->point.DistanceSquared(p) < kPatternHitRadius * kPatternHitRadius) {
            out.Append(action);
        }
    }
}

Action* PathPoint::ActionIconAt(const Vector2& p) const {
    for (Action* action : actions) {
        if (!action->IsAimed() && action->point.DistanceSquared(p) < kPatternHitRadius * kPatternHitRadius) {
            return action;
        }
    }
    return nullptr;
}

bool PathPoint::HitsActionRing(const Vector2& p) const {
    if (InstantActionCount() == 0) {
        return false;
    }
    const float d2 = p.DistanceSquared(position);
    return d2 >= kPatternHitRadius * kPatternHitRadius && d2 < kActionRingOuter * kActionRingOuter;
}

void PathPoint::LayoutActionRing() {
    const int count = InstantActionCount();
    if (count == 0) {
        return;
    }
    const float step = 2.0f * std::numbers::pi_v<float> / static_cast<float>(count);
    float angle = 0.0f;
    for (Action* action : actions) {
        if (action->IsAimed()) {
            continue;
        }
        action->point = position + Vector2(std::cos(angle), std::sin(angle)) * kActionRingRadius;
        angle -= step;
    }
}

void PathPoint::Draw(float zoom) const {
    const PatternIconSet& icons = CurrentPathIcons();
    const float size = 2.8f * zoom / 32.0f;
    if (HasFacing()) {
        // The wedge image points up the screen's y axis.
        const float wedgeBase = -0.5f * std::numbers::pi_v<float>;
        DrawPatternSprite(icons.wedge, position, size, HeadingBetween(position, facing) + wedgeBase);
        return;
    }
    DrawPatternSprite(icons.icon, position, size);
}

namespace {

// The order badge of the action at `index`, beside its icon on the side away from the
// path point.
void DrawOrderBadge(const Vector2& pathPoint, const Action& action, int index, float zoom) {
    Vector2 away = action.point - pathPoint;
    const float length = away.Length();
    away = length > 0.00001f ? away.DivideBy(length) : Vector2(1.0f, 0.0f);
    DrawPatternSprite(GetPatternIcons().orderBadges[index], action.point + away * kPatternHitRadius,
                      1.4f * zoom / 32.0f);
}

void DrawActionIcon(const Action& action, float zoom) {
    if (action.HasKind()) {
        DrawPatternSprite(GetPatternIcons().actionButtons[action.kind], action.point, 2.8f * zoom / 32.0f);
    }
}

}  // namespace

void PathPoint::DrawAimedActions(float zoom, bool orderBadges, const Action* dragged) const {
    const bool badges = orderBadges && actions.Count() >= 2;
    for (int i = 0; i < actions.Count(); ++i) {
        const Action& action = *actions[i];
        if (!action.IsAimed() || &action == dragged) {
            continue;
        }
        DrawActionIcon(action, zoom);
        if (badges) {
            DrawOrderBadge(position, action, i, zoom);
        }
    }
}

void PathPoint::DrawActionRing(float zoom, bool orderBadges, const Action* dragged) const {
    if (InstantActionCount() == 0) {
        return;
    }
    DrawPatternSprite(GetPatternIcons().menuBackground, position, 2.0f * kActionRingOuter * zoom / 32.0f);
    const bool badges = orderBadges && actions.Count() >= 2;
    for (int i = 0; i < actions.Count(); ++i) {
        const Action& action = *actions[i];
        if (action.IsAimed() || &action == dragged) {
            continue;
        }
        DrawActionIcon(action, zoom);
        if (badges) {
            DrawOrderBadge(position, action, i, zoom);
        }
    }
}

void PathPoint::Write(Stream& stream, const PathPoint& point) {
    int count = 0;
    for (const Action* action : point.actions) {
        count += action->HasKind() ? 1 : 0;
    }
    point.position.WriteText(stream);
    stream << " ";
    point.facing.WriteText(stream);
    stream << " Actions " << count;
    for (const Action* action : point.actions) {
        if (!action->HasKind()) {
            continue;
        }
        stream << Endl << "\t\t\t";
        Action::Write(stream, *action);
    }
}

bool PathPoint::Read(Stream& stream, PathPoint& point) {
    Vector2 place = point.position;
    place.ReadText(stream);
    point.SetPosition(place);
    point.facing.ReadText(stream);
    String word;
    String::ReadToken(stream, word);
    int32_t count = 0;
    stream >> count;
    for (int32_t i = 0; i < count && CanReadPatternRecord(stream); ++i) {
        Action* action = point.AddAction();
        if (!action) {
            Action surplus;
            Action::Read(stream, surplus);
            continue;
        }
        if (!Action::Read(stream, *action)) {
            point.RemoveAction(action);
        }
    }
    return !stream.HasError();
}
