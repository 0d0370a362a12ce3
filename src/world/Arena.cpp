#include "world/Arena.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "units/PatternIcons.h"
#include "units/Vorn.h"
#include "world/ArenaViewListener.h"
#include "world/Beacon.h"
#include "world/LoadingListener.h"
#include "world/SharedPhase.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

Arena* gArena = nullptr;

namespace {

// Every arena starts as 16 x 16 terrain cells until a scenario says otherwise.
constexpr int kStartTerrainSide = 16;
// The update order groups: fast movers and puffs first, units last.
constexpr int kGroupMovers = 0;
constexpr int kGroupOthers = 1;
constexpr int kGroupVorns = 2;

int FloorDivide(int value, int divisor) {
    const int q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

// floor(value) as a cell index: saturated, and 0 for a non-finite value.
int FloorToCell(float value) {
    // Points on the arena give cells of 0 and up, where truncation is the floor.
    if (value >= 0.0f && value < 2147483648.0f) {
        return static_cast<int>(value);
    }
    return TruncateToInt(std::floor(value));
}

// A walk over more than 32 columns or rows meets the same cells again; cut it there.
int LastCovered(int first, int last) { return last - first >= kGridSize ? first + kGridSize - 1 : last; }

float FoldInto(float value, float size) {
    if (!(size > 0.0f)) {
        return value;
    }
    // The remainder of a coordinate already in the arena is the coordinate itself.
    if (value >= 0.0f && value < size) {
        return value;
    }
    float folded = FloatMod(value, size);
    if (folded < 0.0f) {
        folded += size;
    }
    // Adding the size to a tiny negative remainder can round up to the size itself.
    return folded >= size ? 0.0f : folded;
}

constexpr int UpdateGroupOf(int kind) {
    switch (kind) {
        case kKindMeteor:
        case kKindLaserBeam:
        case kKindShrapnel:
        case kKindFlameBall:
        case kKindMissile:
        case kKindSmokePuff:
        case kKindFirePuff: return kGroupMovers;
        case kKindVorn: return kGroupVorns;
        default: return kGroupOthers;
    }
}

// The groups of the kinds worked out once: the sort asks for every object twice a frame.
struct UpdateGroupTable {
    uint8_t group[kObjectKindCount] = {};
    constexpr UpdateGroupTable() {
        for (int kind = 0; kind < kObjectKindCount; ++kind) {
            group[kind] = static_cast<uint8_t>(UpdateGroupOf(kind));
        }
    }
};
constexpr UpdateGroupTable kUpdateGroups;

int UpdateGroup(int kind) { return IsKindInRange(kind) ? kUpdateGroups.group[kind] : kGroupOthers; }

Vorn* AsVorn(WorldObject* object) {
    return object != nullptr && object->kind == kKindVorn ? static_cast<Vorn*>(object) : nullptr;
}

const Vorn* AsVorn(const WorldObject* object) {
    return object != nullptr && object->kind == kKindVorn ? static_cast<const Vorn*>(object) : nullptr;
}

bool HasName(const Vorn& vorn, const char* name) { return vorn.name == name; }

}  // namespace

// Life.

void Arena::Initialize() {
    terrain_->Resize(kStartTerrainSide, kStartTerrainSide);
    terrain_->Initialize();
    ReportLoadingStep();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
    ResetMeteorShower();
    PreallocatePools();
    SetCurrentPlayer(&GetLocalPlayer());
}

void Arena::Shutdown() {
    for (int i = objects_.Count() - 1; i >= 0; --i) {
        FreeObject(objects_[i]);
    }
    objects_.Clear();
    beaconsAndGoals_ = 0;
    ClearPointLists();
    FlushObjectPools();
    DestroyPools();
    ClearGrids();
    for (Array<DrawEntry>& list : drawLists) {
        list.Clear();
    }
    trackedSounds.Clear();
    removalListeners_.Clear();
}

// The object list.

void Arena::CountListed(const WorldObject* object, int step) {
    if (object->kind == kKindBeacon || object->kind == kKindGoal) {
        beaconsAndGoals_ += step;
    }
}

void Arena::AddObject(WorldObject* object) {
    objects_.Append(object);
    CountListed(object, 1);
    object->ClearRemoved();
    object->active = true;
    object->OnAdded();
}

void Arena::DetachObject(WorldObject* object) { DetachObjectAt(object, -1); }

void Arena::DetachObjectAt(WorldObject* object, int hint) {
    object->SetTimeBudget(0.0f);
    object->startDelay = 0.0f;
    if (!object->active) {
        return;
    }
    RemoveFromGrid(object);
    object->ClearGridBounds();
    object->active = false;
    // The caller that walks the list knows where the object stands, unless a listener
    // told of the removal has changed the list since.
    const bool hintHolds = hint >= 0 && hint < objects_.Count() && objects_[hint] == object;
    const int index = hintHolds ? hint : FindObjectIndex(object);
    if (index >= 0) {
        objects_.RemoveAt(index);
        CountListed(object, -1);
    }
}

void Arena::DestroyObject(WorldObject* object, bool notify) {
    // Objects update and handle events by list index: while the loop runs, a removal
    // waits for the end of the loop.
    if (updating_) {
        object->removed = true;
        return;
    }
    Game* game = CurrentGame();
    if (notify && IsSyncedKind(object->kind) && game != nullptr) {
        game->OnObjectDestroyed(object);
    }
    NotifyRemoved(object);
    DetachObject(object);
    GiveBack(object);
}

void Arena::GiveBack(WorldObject* object) {
    object->Reset();
    FreeObject(object);
}

void Arena::RemoveObject(WorldObject* object, bool keepEdited) { RemoveObjectAt(object, keepEdited, -1); }

void Arena::RemoveObjectAt(WorldObject* object, bool keepEdited, int hint) {
    if (updating_) {
        object->removed = true;
        return;
    }
    NotifyRemoved(object);
    Vorn* vorn = AsVorn(object);
    if (vorn != nullptr && keepEdited && vorn->edited) {
        TellViews([vorn](ArenaViewListener& view) { view.OnEditedVornKept(*vorn); });
        DetachObjectAt(object, hint);
        return;
    }
    Game* game = CurrentGame();
    if (IsSyncedKind(object->kind) && game != nullptr) {
        game->OnObjectDestroyed(object);
    }
    DetachObjectAt(object, hint);
    object->Reset();
    FreeObject(object);
}

void Arena::RemoveFlaggedObjects(bool keepEdited) {
    for (int i = objects_.Count() - 1; i >= 0; --i) {
        // A removal may notify holders that take further objects out of the list.
        if (i < objects_.Count() && objects_[i]->removed) {
            RemoveObjectAt(objects_[i], keepEdited, i);
        }
    }
}

void Arena::RemoveObjectsOfKind(int kind) {
    for (WorldObject* object : objects_) {
        if (object->kind == kind) {
            object->Remove(0);
        }
    }
    CloseSelectionViews();
    RemoveFlaggedObjects(false);
}

void Arena::ClearBattlefield(bool keepEdited) {
    for (WorldObject* object : objects_) {
        object->Remove(0);
    }
    CloseSelectionViews();
    RemoveFlaggedObjects(keepEdited);
    ClearPointLists();
    for (Player* player : GetPlayerRoster().networkPlayers) {
        player->SetSignal1(false);
        player->SetSignal2(false);
    }
    ResetMeteorShower();
    FlushObjectPools();
}

void Arena::CloseSelectionViews() {
    TellViews([](ArenaViewListener& view) { view.OnSelectionViewsClosed(); });
}

void Arena::ReplaceWithObjects(WorldObject* parent, std::span<WorldObject* const> objects) {
    if (objects.empty()) {
        return;
    }
    const bool inPlace = updating_ && currentObjectIndex >= 0 && currentObjectIndex < objects_.Count() &&
                         objects_[currentObjectIndex] == parent;
    const int index = inPlace ? currentObjectIndex : FindObjectIndex(parent);
    const float budget = parent->timeBudget;
    for (size_t i = 0; i < objects.size(); ++i) {
        WorldObject* object = objects[i];
        if (i == 0 && index >= 0) {
            objects_[index] = object;
        } else {
            objects_.Append(object);
        }
        CountListed(object, 1);
        object->ClearRemoved();
        object->active = true;
        object->SetTimeBudget(budget);
    }
    if (index < 0) {
        return;
    }
    objects_.Append(parent);
    // Outside the loop nothing would consume the flag, and it would hold back the first
    // object of the next update.
    if (inPlace) {
        listChanged = 1;
    }
    if (Vorn* vorn = AsVorn(parent)) {
        vorn->doneThisTick = 1;
    }
}

void Arena::ReplaceWithObject(WorldObject* parent, WorldObject* object) {
    WorldObject* const objects[] = {object};
    ReplaceWithObjects(parent, objects);
}

int Arena::FindObjectIndex(const WorldObject* object) const {
    for (int i = 0; i < objects_.Count(); ++i) {
        if (objects_[i] == object) {
            return i;
        }
    }
    return -1;
}

WorldObject* Arena::FindObjectById(int id) const {
    for (WorldObject* object : objects_) {
        if (object->id == id) {
            return object;
        }
    }
    return nullptr;
}

WorldObject* Arena::FindObjectByKindAndId(int kind, int id) const {
    for (WorldObject* object : objects_) {
        if (object->kind == kind && object->id == id) {
            return object;
        }
    }
    return nullptr;
}

int Arena::CountObjectsOfKind(int kind) const {
    int count = 0;
    for (const WorldObject* object : objects_) {
        count += object->kind == kind ? 1 : 0;
    }
    return count;
}

int Arena::CountEnemyVorns(const Player* player, const char* name, bool vipOnly) const {
    int count = 0;
    for (const WorldObject* object : objects_) {
        const Vorn* vorn = AsVorn(object);
        if (vorn == nullptr || vorn->owner == player) {
            continue;
        }
        bool counts;
        if (name == nullptr) {
            counts = !vipOnly || vorn->vip;
        } else {
            counts = HasName(*vorn, name) || (vipOnly && vorn->vip);
        }
        count += counts ? 1 : 0;
    }
    return count;
}

int Arena::CountPlayerVorns(const Player* player, const char* name, bool vipOnly) const {
    int count = 0;
    for (const WorldObject* object : objects_) {
        const Vorn* vorn = AsVorn(object);
        if (vorn == nullptr || vorn->owner != player) {
            continue;
        }
        bool counts;
        if (name == nullptr) {
            counts = vipOnly ? (vorn->vip && !vorn->squadMember) : vorn->squadMember != 0;
        } else {
            counts = !vorn->squadMember && (HasName(*vorn, name) || (vipOnly && vorn->vip));
        }
        count += counts ? 1 : 0;
    }
    return count;
}

bool Arena::HasEditedVorn() const {
    for (const WorldObject* object : objects_) {
        const Vorn* vorn = AsVorn(object);
        if (vorn != nullptr && vorn->edited) {
            return true;
        }
    }
    return false;
}

void Arena::MarkVornsNamedEdited(const String& name) {
    for (WorldObject* object : objects_) {
        Vorn* vorn = AsVorn(object);
        if (vorn != nullptr && vorn->name == name) {
            vorn->edited = 1;
        }
    }
}

void Arena::RemoveVornsNamed(const String& name) {
    for (WorldObject* object : objects_) {
        Vorn* vorn = AsVorn(object);
        if (vorn != nullptr && vorn->name == name) {
            vorn->Remove(0);
        }
    }
    if (!updating_) {
        // As the world step removes them: where the game keeps edited units, they go to
        // the kill tray instead of being lost.
        const Game* game = CurrentGame();
        RemoveFlaggedObjects(game != nullptr && game->SendsEditedVornsToKillTray());
    }
}

void Arena::SetCurrentPlayer(Player* player) {
    currentPlayer = player;
    TellViews([](ArenaViewListener& view) { view.OnCurrentPlayerChanged(); });
}

void Arena::SetPlacingPlayer(Player* player) {
    placingPlayer = player;
    TellViews([](ArenaViewListener& view) { view.OnCurrentPlayerChanged(); });
}

void Arena::SetScenarioName(const String& name) {
    scenarioName = name;
    TellViews([&name](ArenaViewListener& view) { view.OnScenarioNamed(name); });
}

void Arena::SetSquadName(const String& name) {
    squadName = name;
    TellViews([&name](ArenaViewListener& view) { view.OnSquadNamed(name); });
}

void Arena::RebuildGrid() {
    ClearGrids();
    for (WorldObject* object : objects_) {
        AddToGrid(object);
    }
}

void Arena::SortObjectList() {
    // A stable counting sort by group: count, then deal each object to the next place of
    // its group, keeping the list order within the group.
    const int count = objects_.Count();
    int next[3] = {};
    for (const WorldObject* object : objects_) {
        ++next[UpdateGroup(object->kind)];
    }
    next[2] = next[0] + next[1];
    next[1] = next[0];
    next[0] = 0;
    sortScratch_.Reserve(count);
    WorldObject** sorted = sortScratch_.Data();
    for (WorldObject* object : objects_) {
        sorted[next[UpdateGroup(object->kind)]++] = object;
    }
    std::copy(sorted, sorted + count, objects_.Data());
}

// Holders of removed objects.

void Arena::NotifyRemoved(WorldObject* object) {
    TellViews([object](ArenaViewListener& view) { view.OnObjectRemoved(*object); });
    if (mouseHighlight == object) {
        mouseHighlight = nullptr;
    }
    if (Game* game = CurrentGame()) {
        if (game->selectedVorn == object) {
            game->SelectVorn(nullptr);
        }
        if (game->lastDamagedVorn == object) {
            game->lastDamagedVorn = nullptr;
        }
    }
    if (object->kind == kKindBeacon) {
        ForgetBeacon(static_cast<Beacon*>(object));
    }
    if (Vorn* vorn = AsVorn(object)) {
        vorn->beacon = nullptr;
    }
    // A listener may unregister itself while it is told.
    for (int i = removalListeners_.Count() - 1; i >= 0; --i) {
        if (i < removalListeners_.Count()) {
            removalListeners_[i]->OnObjectRemoved(*object);
        }
    }
}

void Arena::ForgetBeacon(const Beacon* beacon) {
    for (WorldObject* object : objects_) {
        Vorn* vorn = AsVorn(object);
        if (vorn != nullptr && vorn->beacon == beacon) {
            vorn->beacon = nullptr;
        }
    }
}

void Arena::RegisterRemovalListener(RemovalListener* listener) { removalListeners_.AddUnique(listener); }

void Arena::UnregisterRemovalListener(RemovalListener* listener) {
    const int index = removalListeners_.Find(listener);
    if (index >= 0) {
        removalListeners_.RemoveAt(index);
    }
}

void Arena::RegisterViewListener(ArenaViewListener* listener) { viewListeners_.AddUnique(listener); }

void Arena::UnregisterViewListener(ArenaViewListener* listener) {
    const int index = viewListeners_.Find(listener);
    if (index >= 0) {
        viewListeners_.RemoveAt(index);
    }
}

void Arena::ReplaceFollowedObject(WorldObject* from, WorldObject* to) {
    TellViews([from, to](ArenaViewListener& view) { view.OnFollowedObjectReplaced(from, to); });
}

// Grid and geometry.

Point Arena::CellOfPoint(const Vector3& point) const {
    const float w = WorldWidth();
    const float h = WorldHeight();
    if (!(w > 0.0f) || !(h > 0.0f)) {
        return {0, 0};
    }
    return {FloorToCell(kGridSize * point.x / w), FloorToCell(kGridSize * point.y / h)};
}

Vector3 Arena::CellImageOffset(int cx, int cy) const {
    return {static_cast<float>(FloorDivide(cx, kGridSize)) * WorldWidth(),
            static_cast<float>(FloorDivide(cy, kGridSize)) * WorldHeight(), 0.0f};
}

namespace {

// Every step from a finite coordinate to its cell keeps the order of coordinates, so with a
// radius of 0 or more the centre's cell lies between the two corners' cells.
constexpr float kOrderKept = 1.0e30f;

bool KeepsOrder(const Vector3& centre, float radius) {
    return radius >= 0.0f && radius <= kOrderKept && std::fabs(centre.x) <= kOrderKept &&
           std::fabs(centre.y) <= kOrderKept;
}

IntRect Union(const IntRect& a, const IntRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

IntRect Arena::BoundsOfCircle(const Vector3& centre, float radius) const {
    const float w = WorldWidth();
    const float h = WorldHeight();
    if (!(w > 0.0f) || !(h > 0.0f)) {
        return IntRect(0, 0, 0, 0);
    }
    // CellOfPoint of both corners, with the arena's size read once.
    const Point high = {FloorToCell(kGridSize * (centre.x + radius) / w),
                        FloorToCell(kGridSize * (centre.y + radius) / h)};
    const Point low = {FloorToCell(kGridSize * (centre.x - radius) / w),
                       FloorToCell(kGridSize * (centre.y - radius) / h)};
    if (KeepsOrder(centre, radius)) {
        return IntRect(low.x, low.y, high.x, high.y);
    }
    const Point c = CellOfPoint(centre);
    IntRect rect(c.x, c.y, c.x, c.y);
    for (const Point& p : {high, low}) {
        rect.left = std::min(rect.left, p.x);
        rect.top = std::min(rect.top, p.y);
        rect.right = std::max(rect.right, p.x);
        rect.bottom = std::max(rect.bottom, p.y);
    }
    return rect;
}

IntRect Arena::BoundsOfCircles(const Vector3& a, const Vector3& b, float radius) const {
    const float w = WorldWidth();
    const float h = WorldHeight();
    if (!(w > 0.0f) || !(h > 0.0f) || !KeepsOrder(a, radius) || !KeepsOrder(b, radius)) {
        return Union(BoundsOfCircle(a, radius), BoundsOfCircle(b, radius));
    }
    // With the order kept, the lower circle's low corner gives the lower cell and the upper
    // circle's high corner the upper one: the union of the two rectangles, from four cells.
    return IntRect(FloorToCell(kGridSize * (std::min(a.x, b.x) - radius) / w),
                   FloorToCell(kGridSize * (std::min(a.y, b.y) - radius) / h),
                   FloorToCell(kGridSize * (std::max(a.x, b.x) + radius) / w),
                   FloorToCell(kGridSize * (std::max(a.y, b.y) + radius) / h));
}

void Arena::ClearGrids() {
    for (::GridCell& cell : grid_) {
        cell.Clear();
    }
    for (::GridCell& cell : bodyGrid_) {
        cell.Clear();
    }
    std::fill(std::begin(rocksInCell_), std::end(rocksInCell_), 0);
}

namespace {

// The index of the object's first entry in the cell, or -1: Find's answer, four entries
// to a step, as the grid's updates look through the crowded cells of a battle.
[[gnu::always_inline]] inline int FindInCell(const ::GridCell& cell, const WorldObject* object) {
    const WorldObject* const* entries = cell.Data();
    const int count = cell.Count();
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        if (entries[i] == object) return i;
        if (entries[i + 1] == object) return i + 1;
        if (entries[i + 2] == object) return i + 2;
        if (entries[i + 3] == object) return i + 3;
    }
    for (; i < count; ++i) {
        if (entries[i] == object) return i;
    }
    return -1;
}

// True when the cell held the object.
[[gnu::always_inline]] inline bool RemoveFromCell(::GridCell& cell, WorldObject* object) {
    const int index = FindInCell(cell, object);
    if (index < 0) {
        return false;
    }
    cell.RemoveAt(index);
    return true;
}

// Takes the object's first entry out of the cell and appends it, in one pass; true when
// the cell did not hold it before.
[[gnu::always_inline]] inline bool MoveToEnd(::GridCell& cell, WorldObject* object) {
    // A unit that steps again within the same update is still the last entry of each of
    // its cells (an object has one entry per cell): nothing to look for or move.
    const int count = cell.Count();
    if (count > 0 && cell.Data()[count - 1] == object) {
        return false;
    }
    const int index = FindInCell(cell, object);
    if (index < 0) {
        cell.Append(object);
        return true;
    }
    WorldObject** entries = cell.Data();
    const int last = cell.Count() - 1;
    for (int i = index; i < last; ++i) {
        entries[i] = entries[i + 1];
    }
    entries[last] = object;
    return false;
}

}  // namespace

void Arena::AddToGrid(WorldObject* object) {
    const IntRect& b = object->bounds;
    const int lastX = LastCovered(b.left, b.right);
    const int lastY = LastCovered(b.top, b.bottom);
    const bool body = IsBodyKind(object->kind);
    const bool rock = object->kind == kKindRock;
    for (int x = b.left; x <= lastX; ++x) {
        for (int y = b.top; y <= lastY; ++y) {
            GridCell(x, y).Append(object);
            if (body) {
                BodyCell(x, y).Append(object);
            }
            if (rock) {
                ++rocksInCell_[GridIndex(x, y)];
            }
        }
    }
}

bool Arena::AnyRockInCells(const IntRect& cells) const {
    const int lastX = LastCovered(cells.left, cells.right);
    const int lastY = LastCovered(cells.top, cells.bottom);
    for (int x = cells.left; x <= lastX; ++x) {
        for (int y = cells.top; y <= lastY; ++y) {
            if (rocksInCell_[GridIndex(x, y)] > 0) {
                return true;
            }
        }
    }
    return false;
}

// Steps the object in every cell its bounds cover, in the grid and, for a body, in the
// body grid; a rock the step added or took out changes its cell's rock count by rocks.
template <typename Step>
void Arena::StepCells(WorldObject* object, int rocks, Step step) {
    const IntRect& b = object->bounds;
    const int lastX = LastCovered(b.left, b.right);
    const int lastY = LastCovered(b.top, b.bottom);
    const bool body = IsBodyKind(object->kind);
    const bool rock = object->kind == kKindRock;
    for (int x = b.left; x <= lastX; ++x) {
        for (int y = b.top; y <= lastY; ++y) {
            if (step(GridCell(x, y), object) && rock) {
                rocksInCell_[GridIndex(x, y)] += rocks;
            }
            if (body) {
                step(BodyCell(x, y), object);
            }
        }
    }
}

// Lambdas rather than the functions' addresses, so that each step is inlined into its walk.
void Arena::MoveToEndOfCells(WorldObject* object) {
    StepCells(object, 1, [](::GridCell& cell, WorldObject* entry) { return MoveToEnd(cell, entry); });
}

void Arena::RemoveFromGrid(WorldObject* object) {
    StepCells(object, -1, [](::GridCell& cell, WorldObject* entry) { return RemoveFromCell(cell, entry); });
}

Vector3 Arena::WrapPosition(const Vector3& point) const {
    return {FoldInto(point.x, WorldWidth()), FoldInto(point.y, WorldHeight()), point.z};
}

Vector3 Arena::ImageOfPoint(const Vector3& point, int i) const {
    static constexpr int kSteps[9][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    if (i < 0 || i > 8) {
        return point;
    }
    return {point.x + static_cast<float>(kSteps[i][0]) * WorldWidth(),
            point.y + static_cast<float>(kSteps[i][1]) * WorldHeight(), point.z};
}

Vector3 Arena::SearchNearestImage(const Vector3& reference, const Vector3& point) const {
    // Steps toward the reference side; the tie rule keeps the earlier candidate.
    static constexpr int kOrder[9][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}};
    const float width = WorldWidth(), height = WorldHeight();
    const float sx = reference.x <= point.x ? -width : width;
    const float sy = reference.y <= point.y ? -height : height;
    Vector3 best = point;
    float bestDistance = kFloatMax;
    for (const auto& step : kOrder) {
        const Vector3 candidate(point.x + static_cast<float>(step[0]) * sx, point.y + static_cast<float>(step[1]) * sy,
                                point.z);
        const float dx = candidate.x - reference.x;
        const float dy = candidate.y - reference.y;
        const float distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

float Arena::WrappedDistance2D(const Vector3& a, const Vector3& b) const {
    const Vector3 image = NearestImage(a, b);
    const float dx = image.x - a.x;
    const float dy = image.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

Vector2 Arena::PointAtFraction(float fx, float fy) const { return {fx * WorldWidth(), fy * WorldHeight()}; }

Vector2 Arena::FractionOfPoint(const Vector3& point) const {
    const float w = WorldWidth();
    const float h = WorldHeight();
    return {w > 0.0f ? point.x / w : 0.0f, h > 0.0f ? point.y / h : 0.0f};
}

int Arena::GetTerrainType(float x, float y) const { return terrain_->GetTypeAt(x, y); }

Vector3 Arena::GroundPoint(float x, float y) const { return {x, y, GetGroundHeight(x, y)}; }

void Arena::PlaceAboveGround(Vector3& point, float offset) const {
    point.z = GetGroundHeight(point.x, point.y) + offset;
}

void Arena::UpdateHeightsAboveGround() {
    for (WorldObject* object : objects_) {
        object->heightAboveGround = object->position.z - GetGroundHeight(object->position.x, object->position.y);
    }
}

// Per frame.

void Arena::AdvanceObjectClocks() {
    const Game* game = CurrentGame();
    if (game == nullptr) {
        return;
    }
    const float dt = game->frameTime;
    if (game->IsNetworkClient() || game->DebuggedVorn() == nullptr || game->debugPaused) {
        for (WorldObject* object : objects_) {
            object->SetTimeBudget(object->timeBudget + dt);
        }
        return;
    }
    // While a unit is debugged step by step, every object gets exactly this frame.
    for (WorldObject* object : objects_) {
        if (object->startDelay < dt) {
            object->SetTimeBudget(dt - object->startDelay);
            object->startDelay = 0.0f;
        } else {
            object->SetTimeBudget(0.0f);
            object->startDelay -= dt;
        }
    }
}

void Arena::Update() {
    Game* game = CurrentGame();
    updating_ = true;
    // By index, re-reading the bound: updates and event handlers may append objects,
    // which move in this same pass.
    updateIndex = 0;
    while (updateIndex < objects_.Count()) {
        WorldObject* object = objects_[updateIndex];
        object->SavePreviousState();
        currentObjectIndex = updateIndex;
        object->Update(game != nullptr && game->IsSimulationPaused());
        if (listChanged) {
            listChanged = 0;
        } else {
            ++updateIndex;
        }
        if (game != nullptr) {
            game->DispatchEvents();
        }
    }
    updating_ = false;
    if (game == nullptr || (!game->IsSimulationPaused() && !game->IsNetworkClient())) {
        UpdateMeteorShower();
    }
    RemoveFlaggedObjects(game != nullptr && game->SendsEditedVornsToKillTray());
    SortObjectList();
    if (game != nullptr) {
        game->stepOneFrame = 0;
        AdvancePatternPulse(game->frameTime);
    }
    AdvanceSharedPhase();
    FlushObjectPools();
}

// Object ids.

bool Arena::IsSyncedKind(int kind) { return ::IsSyncedKind(kind); }
