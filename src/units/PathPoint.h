#pragma once
// A point of a pattern's path, with where the unit faces on arrival and the actions it
// performs there. Pooled in the arena's "PathPoint" pool; its actions come from the
// "Action" pool and go back there when the point is cleared.
#include "core/Array.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "units/PatternLimits.h"

class Action;
class Stream;

class PathPoint {
public:
    static constexpr int kMaxActions = kMaxActionsPerPathPoint;

    // Loads the shared icons once; no actions.
    PathPoint();
    PathPoint(const PathPoint&) = delete;
    // Points copied; the action list sized to the other's through the pool and each
    // action copied.
    PathPoint& operator=(const PathPoint& other);

    // Actions back to the pool, points to their defaults.
    void Clear();
    void Reset() { Clear(); }

    // Surplus actions go back to the pool, missing ones come from it (at most 8).
    void SetActionCount(int count);
    // A new pooled action at the end; none when the point holds 8.
    Action* AddAction();
    void RemoveAction(Action* action);
    int FindAction(const Action* action) const;
    int InstantActionCount() const;

    // The facing handle lies beyond the hit radius from the position.
    bool HasFacing() const;
    // An unset facing handle travels with the point.
    void SetPosition(const Vector2& point);

    // Aimed actions whose target lies within the hit radius of p, appended in order.
    void AimedActionsNear(const Vector2& p, Array<Action*>& out) const;
    // The first instant action whose icon lies within the hit radius of p.
    Action* ActionIconAt(const Vector2& p) const;
    bool HitsActionRing(const Vector2& p) const;
    // Instant actions' icons clockwise from +x on the action ring.
    void LayoutActionRing();

    void Draw(float zoom) const;
    void DrawAimedActions(float zoom, bool orderBadges, const Action* dragged) const;
    void DrawActionRing(float zoom, bool orderBadges, const Action* dragged) const;

    // The point's line (position, facing handle, "Actions" and the count) without indent
    // or line end; the action lines follow, each on its own line with three tabs.
    static void Write(Stream& stream, const PathPoint& point);
    // Keeps the first 8 actions; further action lines and lines with an unknown keyword
    // are read and dropped. Stops at the first stream error, dropping the action it cut
    // short; false when the point was not read whole.
    static bool Read(Stream& stream, PathPoint& point);

    Vector2 position;
    Vector2 facing;  // equal to the position when the point sets no facing
    // Where placement put the point and its facing target in the world.
    Vector3 worldPosition;
    Vector3 worldFacing;
    Array<Action*> actions;
};
