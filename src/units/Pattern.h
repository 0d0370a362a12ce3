#pragma once
// One behaviour rule of a unit: objects placed around the unit, conditions on terrain
// cells and on the unit's own state, a priority, and a path of points with the actions
// the unit performs at each. A pattern owns the pooled records its lists point to; the
// arena (gArena) must exist while patterns are made, changed or destroyed.
#include <cstdint>
#include <memory>

#include "core/Array.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "units/MatchLine.h"
#include "units/PatternLimits.h"

class Action;
class MapConditional;
class PathPoint;
class PatternObject;
class PolarLayout;
class Stream;
class Vorn;

enum ConditionalFlag : int32_t {
    kConditionalSwitch1 = 0,
    kConditionalSwitch2,
    kConditionalSignal1,
    kConditionalSignal2,
    kConditionalInjured,
    kConditionalOutOfAmmo1,
    kConditionalOutOfAmmo2,
    kConditionalReloading1,
    kConditionalReloading2,
    kConditionalTimerRunning,
    kConditionalTimerExpired,
    kConditionalHasBall,
};
constexpr int kConditionalCount = 12;

extern const char* const ConditionalNames[kConditionalCount];
extern const char* const ConditionalButtonNames[kConditionalCount];
extern const char* const ConditionalSmallButtonNames[kConditionalCount];

// The conditions of a pattern on the unit's own state, one flag each.
struct Conditional {
    uint8_t flags[kConditionalCount] = {};

    void Clear();
    bool Any() const;
    bool operator==(const Conditional& other) const = default;

    // The set flags' names in flag order, then "End", each followed by a blank.
    static void Write(Stream& stream, const Conditional& conditional);
    // Clears the flags, then sets one per name read; the first other word ends the list
    // and is consumed. False when the text stops short of that word.
    static bool Read(Stream& stream, Conditional& conditional);
};

// The parts of the diagram the editor is dragging: left out of their layer and drawn
// last, on top. Also the diagram's options.
struct PatternDrawParts {
    const PathPoint* pathPoint = nullptr;
    const PathPoint* pathPointHandle = nullptr;
    const PatternObject* object = nullptr;
    const PatternObject* objectHandle = nullptr;
    const Action* action = nullptr;
    const MapConditional* mapConditional = nullptr;
    bool showConditionals = false;
    bool orderBadges = false;
};

// A step of the pattern's walk-through: the path point it starts at, the action of that
// point it goes to (-1 for the segment to the next point), and the part reached.
struct PatternWalkStep {
    int pathPoint = 0;
    int action = -1;
    float fraction = 0.0f;
};

class Pattern {
public:
    static constexpr int32_t kNoScore = 2147483647;

    // A first path point and the own object (a friend at the origin facing +x) from the
    // pools; nothing else.
    Pattern();
    // A copy by assignment; the score starts unscored.
    Pattern(const Pattern& other);
    ~Pattern();
    // Copies flags, priority, path points, objects and map conditionals into fresh pooled
    // records. The score and the own object's position and facing stay.
    Pattern& operator=(const Pattern& other);

    // Back to one reset path point and the own object without properties; no map
    // conditionals, no flags, priority 0. The score stays.
    void Clear();
    // Clear, then the layout rebuilt.
    void Reset();
    // The text form written inside a unit file. Check the stream for errors.
    void Save(Stream& stream) const;
    // Reads the text form over the pattern. Counts beyond the pattern bounds are read and
    // the surplus dropped, negative counts read as none, and reading stops at the first
    // stream error. A record cut short goes back to its pool; false when the pattern was
    // not read whole.
    bool Load(Stream& stream);

    // A pattern takes part in matching only when it says something.
    bool IsEnabled() const;
    void RebuildLayout();
    PolarLayout& Layout() { return *layout; }
    const PolarLayout& Layout() const { return *layout; }

    // Finding; -1 or none when nothing matches.
    int FindPathPoint(const PathPoint* point) const;
    int FindObject(const PatternObject* object) const;
    PatternObject* FindObjectOfKind(int32_t kind, int n) const;
    int ObjectOrdinal(const PatternObject* object) const;
    MapConditional* FindMapConditionalOfKind(int32_t kind, int n) const;
    // The path point holding the action (-1 none) and the action's index in it.
    int FindAction(const Action* action, int& actionIndex) const;

    // Hit tests: each empties its list and fills it in list order.
    void PathPointsNear(const Vector2& p, Array<PathPoint*>& out) const;
    void ObjectsNear(const Vector2& p, Array<PatternObject*>& out) const;
    void MapConditionalsNear(const Vector2& p, Array<MapConditional*>& out) const;
    // Aimed actions near p and, in parallel, the path point of each.
    void ActionsNear(const Vector2& p, Array<Action*>& actionsOut, Array<PathPoint*>& pointsOut) const;
    void FacingHandlesNear(const Vector2& p, Array<PathPoint*>& out) const;
    void ObjectHandlesNear(const Vector2& p, Array<PatternObject*>& out) const;

    // Limits: each clears its flags, then answers whether the addition (or the move of a
    // listed record) is allowed.
    bool CanAddPathPoint(const Vector2& p, bool& full) const;
    bool CanAddObject(const PatternObject* object, bool& full, bool& onlyOne) const;
    bool OverlapsExclusiveObject(const PatternObject* object) const;
    bool CanAddMapConditional(const MapConditional* condition, bool& full) const;

    // Changing. Additions append pooled records (test the limits first); removals return
    // the record to its pool and keep the order of the others.
    PathPoint* AddPathPoint();
    void AddObject(PatternObject* object);
    void AddMapConditional(MapConditional* condition);
    void RemovePathPoint(PathPoint* point);
    void RemoveObject(PatternObject* object);
    void RemoveMapConditional(MapConditional* condition);
    void LayoutActionRings();

    // The lines the matcher compares: every pair of objects in list order, then a facing
    // line for every other friend or enemy whose handle is set, or the own object's facing
    // line when there is no other line.
    void BuildLines();
    // The most lines BuildLines makes of that many objects: every pair, a facing line for
    // each, and the own object's facing line.
    static int LineRoom(int objectCount) { return objectCount * (objectCount - 1) / 2 + objectCount + 1; }
    // Every matched object's world object records its pattern object.
    void LinkObjectsToWorld();

    void Draw(float zoom, const PatternDrawParts& parts) const;
    // The unit's pattern in the arena round the unit's wrapped image at image (the one
    // being drawn); walkThrough animates the path with the pulse.
    void DrawInArena(Vorn& unit, const Vector3& image, bool walkThrough) const;
    // The walk-through spends the time along the pattern: each action (distance from its
    // path point) / 10 seconds, each segment (length) / 8 seconds. False once the time
    // passes the end.
    bool FindWalkStep(float time, PatternWalkStep& step) const;
    void DrawPathStepInArena(Vorn& unit, const Vector3& image, const PatternWalkStep& step) const;

    int32_t score = kNoScore;
    uint8_t valid = 0;                   // set by the matcher on each run
    PatternObject* ownObject = nullptr;  // always objects[0] while it exists
    Array<PathPoint*> pathPoints;        // pathPoints[0] is the unit's start point
    Array<PatternObject*> objects;
    Array<MapConditional*> mapConditionals;
    Conditional conditionals;
    int32_t priority = 0;
    // Built from the objects other than the own object by PolarLayout::Build(*this)
    // after every load, copy, clear and reset.
    std::unique_ptr<PolarLayout> layout;
    PatternLineArray lines;

private:
    bool ReadObjects(Stream& stream);
    bool ReadMapConditionals(Stream& stream);
    bool ReadPathPoints(Stream& stream);
    void AppendLine(PatternObject* from, PatternObject* to);
    void DrawDiagramPaths(float zoom, const PatternDrawParts& parts) const;
    void DrawDiagramMarks(float zoom, const PatternDrawParts& parts) const;
    void DrawDraggedParts(float zoom, const PatternDrawParts& parts) const;
};

// The point inside the editing area (edges included).
bool IsInsidePatternArea(const Vector2& p);
// Each coordinate clamped into the rectangle from `low` to `high`.
Vector2 ClampPointToRect(const Vector2& low, const Vector2& high, const Vector2& p);
// The signed angle between two unit directions: the arc cosine of their dot product,
// negative when b lies clockwise of a.
float SignedAngle2D(const Vector2& a, const Vector2& b);
// Whether another counted record of the text form can follow: false on a stream error,
// and, with the error flag set, when the text ends before the count is done.
bool CanReadPatternRecord(Stream& stream);
