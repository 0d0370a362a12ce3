// A pattern: its records and their lifetime, its text form, the editing operations, the
// lines the matcher compares, and its drawing.
#include "units/Pattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Stream.h"
#include "core/String.h"
#include "core/ThrowError.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/PatternIcons.h"
#include "units/PatternObject.h"
#include "units/PolarLayout.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

const char* const ConditionalNames[kConditionalCount] = {
    "Switch1",    "Switch2",    "Signal1",    "Signal2",      "Injured",      "OutOfAmmo1",
    "OutOfAmmo2", "Reloading1", "Reloading2", "TimerRunning", "TimerExpired", "HasBall",
};

const char* const ConditionalButtonNames[kConditionalCount] = {
    "Switch1Conditional.tga",
    "Switch2Conditional.tga",
    "SignalConditional.tga",
    "Signal2Conditional.tga",
    "InjuredConditionalButton.tga",
    "OutOfAmmoButton.tga",
    "OutOfAmmo2Button.tga",
    "ReloadingButton.tga",
    "Reloading2Button.tga",
    "TimerRunningConditionalButton.tga",
    "TimerExpiredConditionalButton.tga",
    "HasBallButton.tga",
};

const char* const ConditionalSmallButtonNames[kConditionalCount] = {
    "Switch1Conditional32.tga",
    "Switch2Conditional32.tga",
    "SignalConditional32.tga",
    "Signal2Conditional32.tga",
    "InjuredConditionalButton32.tga",
    "OutOfAmmoButton32.tga",
    "OutOfAmmo2Button32.tga",
    "ReloadingButton32.tga",
    "Reloading2Button32.tga",
    "TimerRunningConditionalButton32.tga",
    "TimerExpiredConditionalButton32.tga",
    "HasBallButton32.tga",
};

void Conditional::Clear() { std::fill(std::begin(flags), std::end(flags), uint8_t(0)); }

bool Conditional::Any() const {
    // The twelve flags read as one 8-byte and one 4-byte word: the matcher asks this of
    // every empty slot of every unit it runs.
    static_assert(sizeof flags == 12);
    uint64_t low = 0;
    uint32_t high = 0;
    std::memcpy(&low, flags, sizeof low);
    std::memcpy(&high, flags + sizeof low, sizeof high);
    return (low | high) != 0;
}

void Conditional::Write(Stream& stream, const Conditional& conditional) {
    for (int i = 0; i < kConditionalCount; ++i) {
        if (conditional.flags[i]) {
            stream << ConditionalNames[i] << " ";
        }
    }
    stream << "End ";
}

bool Conditional::Read(Stream& stream, Conditional& conditional) {
    conditional.Clear();
    String word;
    while (!stream.HasError()) {
        String::ReadToken(stream, word);
        const auto* name = std::find_if(std::begin(ConditionalNames), std::end(ConditionalNames),
                                        [&](const char* n) { return std::strcmp(n, word.CStr()) == 0; });
        if (name == std::end(ConditionalNames)) {
            return !word.IsEmpty();
        }
        conditional.flags[name - std::begin(ConditionalNames)] = 1;
    }
    return false;
}

bool IsInsidePatternArea(const Vector2& p) {
    return p.x >= kPatternAreaMin && p.x <= kPatternAreaMax && p.y >= kPatternAreaMin && p.y <= kPatternAreaMax;
}

Vector2 ClampPointToRect(const Vector2& low, const Vector2& high, const Vector2& p) {
    return Vector2(std::clamp(p.x, low.x, high.x), std::clamp(p.y, low.y, high.y));
}

// Whether a counted record can follow. Running out of text before the count is done is
// an error like any other, whichever stream it happens on.
bool CanReadPatternRecord(Stream& stream) {
    if (stream.HasError()) {
        return false;
    }
    for (int c = stream.PeekChar(); c == ' ' || c == '\t' || c == '\r' || c == '\n'; c = stream.PeekChar()) {
        stream.GetChar();
    }
    if (!stream.IsGood()) {
        stream.SetError();
        return false;
    }
    return true;
}

float SignedAngle2D(const Vector2& a, const Vector2& b) {
    // Rounding can carry the dot product of two unit vectors just past 1.
    const float angle = std::acos(std::clamp(a.Dot(b), -1.0f, 1.0f));
    return a.x * b.y - a.y * b.x < 0.0f ? -angle : angle;
}

namespace {

// The unit's own object: a friend at the origin with its facing handle pulled out ahead.
constexpr Vector2 kOwnFacing{2.1f, 0.0f};

template <typename T>
int IndexOf(const Array<T*>& list, const T* record) {
    for (int i = 0; i < list.Count(); ++i) {
        if (list[i] == record) {
            return i;
        }
    }
    return -1;
}

// A count read from the text: what the reader keeps of it, the rest being read and
// dropped. A negative count reads as none.
int32_t ReadCount(Stream& stream) {
    String word;
    String::ReadToken(stream, word);
    int32_t count = 0;
    stream >> count;
    return std::max(count, 0);
}

}  // namespace

Pattern::Pattern() : layout(std::make_unique<PolarLayout>()) {
    if (!gArena) {
        VORNS_RAISE_ERROR("A pattern was made before the arena's pools", 0);
    }
    LoadPatternIcons();
    pathPoints.Append(gArena->NewPathPoint());
    ownObject = gArena->NewPatternObject();
    ownObject->kind = kPatternFriend;
    ownObject->position = Vector2();
    ownObject->facing = kOwnFacing;
    objects.Append(ownObject);
    Clear();
    RebuildLayout();
}

Pattern::Pattern(const Pattern& other) : Pattern() { *this = other; }

Pattern::~Pattern() {
    Clear();
    if (gArena) {
        for (PathPoint* point : pathPoints) {
            gArena->FreePathPoint(point);
        }
        if (ownObject) {
            gArena->FreePatternObject(ownObject);
        }
    }
    pathPoints.Clear();
    objects.Clear();
}

Pattern& Pattern::operator=(const Pattern& other) {
    if (&other == this) {
        return *this;
    }
    Clear();
    RebuildLayout();
    conditionals = other.conditionals;
    priority = other.priority;
    for (int i = 0; i < other.pathPoints.Count(); ++i) {
        PathPoint* point = i < pathPoints.Count() ? pathPoints[i] : AddPathPoint();
        *point = *other.pathPoints[i];
    }
    for (const PatternObject* object : other.objects) {
        if (object == other.ownObject) {
            continue;
        }
        PatternObject* copy = gArena->NewPatternObject();
        copy->CopyFrom(*object);
        objects.Append(copy);
    }
    for (const MapConditional* condition : other.mapConditionals) {
        MapConditional* copy = gArena->NewMapConditional();
        *copy = *condition;
        mapConditionals.Append(copy);
    }
    RebuildLayout();
    return *this;
}

void Pattern::Clear() {
    if (gArena) {
        for (int i = 1; i < pathPoints.Count(); ++i) {
            gArena->FreePathPoint(pathPoints[i]);
        }
        for (PatternObject* object : objects) {
            if (object != ownObject) {
                gArena->FreePatternObject(object);
            }
        }
        for (MapConditional* condition : mapConditionals) {
            gArena->FreeMapConditional(condition);
        }
    }
    pathPoints.Reserve(std::min(pathPoints.Count(), 1));
    if (!pathPoints.IsEmpty()) {
        pathPoints[0]->Clear();
    }
    objects.Clear();
    if (ownObject) {
        objects.Append(ownObject);
        ownObject->ClearProperties();
    }
    mapConditionals.Clear();
    conditionals.Clear();
    priority = 0;
}

void Pattern::Reset() {
    Clear();
    RebuildLayout();
}

void Pattern::RebuildLayout() {
    layout->Build(*this);
    // The lines get their room while the pattern changes, so that placing it in a run
    // allocates nothing; the lines themselves stay until the next placement.
    const int count = lines.Count();
    if (lines.EnsureSize(LineRoom(objects.Count()))) {
        lines.Reserve(count);
    }
}

bool Pattern::IsEnabled() const {
    const int ownCount = ownObject ? 1 : 0;
    // The cheap tests first: the matcher asks this of every slot several times a run.
    return objects.Count() > ownCount || pathPoints.Count() > 1 ||
           (!pathPoints.IsEmpty() && !pathPoints[0]->actions.IsEmpty()) || !mapConditionals.IsEmpty() || priority > 0 ||
           conditionals.Any();
}

void Pattern::Save(Stream& stream) const {
    stream << "\tObjects " << static_cast<int>(objects.Count() - (ownObject ? 1 : 0)) << Endl;
    for (const PatternObject* object : objects) {
        if (object != ownObject) {
            stream << "\t\t";
            PatternObject::Write(stream, *object);
            stream << Endl;
        }
    }
    stream << "\tMapConditionals " << static_cast<int>(mapConditionals.Count()) << Endl;
    for (const MapConditional* condition : mapConditionals) {
        stream << "\t\t";
        MapConditional::Save(stream, *condition);
        stream << Endl;
    }
    stream << "\tPathPoints " << static_cast<int>(pathPoints.Count()) << Endl;
    for (const PathPoint* point : pathPoints) {
        stream << "\t\t";
        PathPoint::Write(stream, *point);
        stream << Endl;
    }
    stream << "\tConditionals ";
    Conditional::Write(stream, conditionals);
    stream << Endl;
    stream << "\tPriority " << static_cast<int>(priority) << Endl;
}

bool Pattern::Load(Stream& stream) {
    Reset();
    bool whole = ReadObjects(stream) && ReadMapConditionals(stream) && ReadPathPoints(stream);
    if (whole) {
        String word;
        String::ReadToken(stream, word);
        whole = Conditional::Read(stream, conditionals);
    }
    if (whole) {
        String word;
        String::ReadToken(stream, word);
        stream >> priority;
        whole = !stream.HasError();
    }
    RebuildLayout();
    return whole;
}

// A record is added to the pattern only once it has been read whole: a cut one would
// keep default fields the text never gave it.
bool Pattern::ReadObjects(Stream& stream) {
    const int32_t count = ReadCount(stream);
    for (int32_t i = 0; i < count; ++i) {
        if (!CanReadPatternRecord(stream)) {
            return false;
        }
        if (objects.Count() >= kMaxPatternObjects) {
            PatternObject surplus;
            if (!PatternObject::Read(stream, surplus)) {
                return false;
            }
            continue;
        }
        PatternObject* object = gArena->NewPatternObject();
        if (!PatternObject::Read(stream, *object)) {
            gArena->FreePatternObject(object);
            return false;
        }
        objects.Append(object);
    }
    return !stream.HasError();
}

bool Pattern::ReadMapConditionals(Stream& stream) {
    const int32_t count = ReadCount(stream);
    for (int32_t i = 0; i < count; ++i) {
        if (!CanReadPatternRecord(stream)) {
            return false;
        }
        if (mapConditionals.Count() >= kMaxMapConditionals) {
            MapConditional surplus;
            if (!MapConditional::Load(stream, surplus)) {
                return false;
            }
            continue;
        }
        MapConditional* condition = gArena->NewMapConditional();
        if (!MapConditional::Load(stream, *condition)) {
            gArena->FreeMapConditional(condition);
            return false;
        }
        mapConditionals.Append(condition);
    }
    return !stream.HasError();
}

bool Pattern::ReadPathPoints(Stream& stream) {
    const int32_t count = ReadCount(stream);
    for (int32_t i = 0; i < count; ++i) {
        if (!CanReadPatternRecord(stream)) {
            return false;
        }
        if (i == 0 && !pathPoints.IsEmpty()) {
            // The first point always exists; a cut one is cleared back to its start.
            if (!PathPoint::Read(stream, *pathPoints[0])) {
                pathPoints[0]->Clear();
                return false;
            }
            continue;
        }
        // Surplus points are read into a pooled point too, since actions come from the pool.
        PathPoint* point = gArena->NewPathPoint();
        const bool whole = PathPoint::Read(stream, *point);
        if (!whole || pathPoints.Count() >= kMaxPathPoints) {
            gArena->FreePathPoint(point);
            if (!whole) {
                return false;
            }
            continue;
        }
        pathPoints.Append(point);
    }
    return !stream.HasError();
}

// Finding

int Pattern::FindPathPoint(const PathPoint* point) const { return IndexOf(pathPoints, point); }
int Pattern::FindObject(const PatternObject* object) const { return IndexOf(objects, object); }

PatternObject* Pattern::FindObjectOfKind(int32_t kind, int n) const {
    for (PatternObject* object : objects) {
        if (object->kind == kind && n-- == 0) {
            return object;
        }
    }
    return nullptr;
}

int Pattern::ObjectOrdinal(const PatternObject* object) const {
    const int index = FindObject(object);
    if (!object || index < 0) {
        return -1;
    }
    int ordinal = 0;
    for (int i = 0; i < index; ++i) {
        ordinal += objects[i]->kind == object->kind ? 1 : 0;
    }
    return ordinal;
}

MapConditional* Pattern::FindMapConditionalOfKind(int32_t kind, int n) const {
    for (MapConditional* condition : mapConditionals) {
        if (condition->kind == kind && n-- == 0) {
            return condition;
        }
    }
    return nullptr;
}

int Pattern::FindAction(const Action* action, int& actionIndex) const {
    actionIndex = -1;
    for (int i = 0; i < pathPoints.Count(); ++i) {
        actionIndex = pathPoints[i]->FindAction(action);
        if (actionIndex >= 0) {
            return i;
        }
    }
    return -1;
}

// Hit tests

namespace {

bool Within(const Vector2& a, const Vector2& b, float radius) { return a.DistanceSquared(b) < radius * radius; }

}  // namespace

void Pattern::PathPointsNear(const Vector2& p, Array<PathPoint*>& out) const {
    out.Clear();
    for (PathPoint* point : pathPoints) {
        if (Within(point->position, p, kPatternHitRadius)) {
            out.Append(point);
        }
    }
}

void Pattern::ObjectsNear(const Vector2& p, Array<PatternObject*>& out) const {
    out.Clear();
    for (PatternObject* object : objects) {
        if (object != ownObject && Within(object->position, p, object->Radius())) {
            out.Append(object);
        }
    }
}

void Pattern::MapConditionalsNear(const Vector2& p, Array<MapConditional*>& out) const {
    out.Clear();
    for (MapConditional* condition : mapConditionals) {
        if (Within(condition->position, p, kPatternHitRadius)) {
            out.Append(condition);
        }
    }
}

void Pattern::ActionsNear(const Vector2& p, Array<Action*>& actionsOut, Array<PathPoint*>& pointsOut) const {
    actionsOut.Clear();
    pointsOut.Clear();
    for (PathPoint* point : pathPoints) {
        const int before = actionsOut.Count();
        point->AimedActionsNear(p, actionsOut);
        for (int i = before; i < actionsOut.Count(); ++i) {
            pointsOut.Append(point);
        }
    }
}

void Pattern::FacingHandlesNear(const Vector2& p, Array<PathPoint*>& out) const {
    out.Clear();
    for (int i = 1; i < pathPoints.Count(); ++i) {
        PathPoint* point = pathPoints[i];
        if (point->HasFacing() && Within(point->facing, p, kPatternHandleRadius)) {
            out.Append(point);
        }
    }
}

void Pattern::ObjectHandlesNear(const Vector2& p, Array<PatternObject*>& out) const {
    out.Clear();
    for (PatternObject* object : objects) {
        if (object != ownObject && object->HasFacing() && Within(object->facing, p, kPatternHandleRadius)) {
            out.Append(object);
        }
    }
}

// Limits

bool Pattern::CanAddPathPoint(const Vector2& p, bool& full) const {
    full = false;
    if (pathPoints.Count() >= kMaxPathPoints) {
        full = true;
        return false;
    }
    return IsInsidePatternArea(p);
}

bool Pattern::CanAddObject(const PatternObject* object, bool& full, bool& onlyOne) const {
    full = false;
    onlyOne = false;
    const PatternObjectKindInfo& info = PatternKindInfo(object->kind);
    if (FindObject(object) < 0) {
        if (objects.Count() >= kMaxPatternObjects) {
            full = true;
            return false;
        }
        if (info.single && FindObjectOfKind(object->kind, 0)) {
            onlyOne = true;
            return false;
        }
    }
    if (!object->IsInsideArea()) {
        return false;
    }
    if (info.bounded && object->position.LengthSquared() > kPatternBoundRadius * kPatternBoundRadius) {
        return false;
    }
    return !(info.exclusive && OverlapsExclusiveObject(object));
}

bool Pattern::OverlapsExclusiveObject(const PatternObject* object) const {
    for (const PatternObject* other : objects) {
        if (other == object || !PatternKindInfo(other->kind).exclusive) {
            continue;
        }
        const float reach = object->Radius() + other->Radius();
        if (object->position.DistanceSquared(other->position) <= reach * reach) {
            return true;
        }
    }
    return false;
}

bool Pattern::CanAddMapConditional(const MapConditional* condition, bool& full) const {
    full = false;
    if (IndexOf(mapConditionals, condition) < 0 && mapConditionals.Count() >= kMaxMapConditionals) {
        full = true;
        return false;
    }
    return condition->position.LengthSquared() <= kPatternBoundRadius * kPatternBoundRadius;
}

// Changing

PathPoint* Pattern::AddPathPoint() {
    PathPoint* point = gArena->NewPathPoint();
    pathPoints.Append(point);
    return point;
}

void Pattern::AddObject(PatternObject* object) {
    objects.Append(object);
    RebuildLayout();
}

void Pattern::AddMapConditional(MapConditional* condition) { mapConditionals.Append(condition); }

void Pattern::RemovePathPoint(PathPoint* point) {
    const int index = FindPathPoint(point);
    // The start point stands for where the unit is and lives as long as the pattern.
    if (index <= 0) {
        return;
    }
    pathPoints.RemoveAt(index);
    gArena->FreePathPoint(point);
}

void Pattern::RemoveObject(PatternObject* object) {
    const int index = FindObject(object);
    if (index < 0) {
        return;
    }
    objects.RemoveAt(index);
    if (object == ownObject) {
        ownObject = nullptr;
    }
    gArena->FreePatternObject(object);
    RebuildLayout();
}

void Pattern::RemoveMapConditional(MapConditional* condition) {
    const int index = IndexOf(mapConditionals, condition);
    if (index < 0) {
        return;
    }
    mapConditionals.RemoveAt(index);
    gArena->FreeMapConditional(condition);
}

void Pattern::LayoutActionRings() {
    for (PathPoint* point : pathPoints) {
        point->LayoutActionRing();
    }
}

// Lines

void Pattern::AppendLine(PatternObject* from, PatternObject* to) {
    const int index = lines.Count();
    lines.Reserve(index + 1);
    lines[index].Set(from, to);
    lines[index].link = nullptr;
}

void Pattern::BuildLines() {
    // Room for every pair and every facing line at once, so the list grows in one step.
    lines.EnsureSize(LineRoom(objects.Count()));
    lines.Clear();
    for (int i = 0; i < objects.Count(); ++i) {
        for (int j = i + 1; j < objects.Count(); ++j) {
            AppendLine(objects[i], objects[j]);
        }
    }
    for (int i = 1; i < objects.Count(); ++i) {
        PatternObject* object = objects[i];
        if (object != ownObject && PatternKindInfo(object->kind).facing && object->HasFacing()) {
            AppendLine(object, object);
        }
    }
    if (lines.IsEmpty() && ownObject) {
        AppendLine(ownObject, ownObject);
    }
}

void Pattern::LinkObjectsToWorld() {
    for (PatternObject* object : objects) {
        if (object->linkedObject) {
            object->linkedObject->matchedPatternObject = object;
            object->linkedObject->matchIndex = -1;
        }
    }
}
