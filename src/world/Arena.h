#pragma once
// The one battlefield: a wrap-around arena of W x H world units that owns the terrain,
// the list of live world objects, a 32 x 32 object grid that wraps like the terrain, and
// the pools from which every world object, unit action and pattern part is taken.
// Everything here runs on the main thread.
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector3Array.h"
#include "engine/RendererRef.h"
#include "engine/TextureHandle.h"
#include "world/CollisionShape.h"
#include "world/GridCell.h"
#include "world/RemovalListener.h"
#include "world/Terrain.h"

class Action;
class ArenaDrawView;
class ArenaViewListener;
class Beacon;
class Debris;
class ExplosionField;
class FieldGenerator;
class FirePuff;
class FlameBall;
class FlyByPoint;
class GooField;
class Goal;
class HealthField;
class LaserBeam;
class LaunchPoint;
class MapConditional;
class MemoryBlock;
class Meteor;
class Missile;
class PathPoint;
class PatternObject;
class Player;
class Rock;
class ScorchMark;
class Shrapnel;
class SmokePuff;
class SoccerBall;
class SolarCharger;
class Sound;
class Squad;
class StaticField;
class Stream;
class Terrain;
class Tree;
class Vorn;
class VornAction;
class WaterRing;
class WorldObject;
struct Color;
struct ContactRecord;
struct Ray;
struct TerrainBrush;
template <typename T>
class ArenaPool;

// One wrapped image of an object for the arena drawing.
struct DrawEntry {
    WorldObject* object = nullptr;
    Vector3 position;
};

constexpr int kGridSize = 32;
constexpr int kGridCellCount = kGridSize * kGridSize;
constexpr int kArenaPoolCount = 29;

class Arena {
public:
    // Free-place tests and the free-ground search keep new objects this far from the others.
    static constexpr float kPlacementMargin = 0.01f;
    // How far a body is moved, at most, to find free ground, unless a search asks for more.
    static constexpr float kFreeGroundReach = 40.0f;
    // The work the free-ground searches of one placing may do together beyond what each
    // may always do, in about the time of reading a point of ground: some milliseconds,
    // whatever the ground's shape.
    static constexpr int64_t kFreeGroundWork = 10'000'000;

    // Makes the pools (none preallocated), an empty list and grid, and the terrain.
    Arena();
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // Start-up: terrain of 16 x 16 cells, meteor shower reset, pools preallocated.
    void Initialize();
    // Program end: every listed object back to its pool, then the pools destroyed.
    void Shutdown();

    // Pool access. Each New* answers a cleared record.
    Tree* NewTree();
    Rock* NewRock();
    SolarCharger* NewSolarCharger();
    SoccerBall* NewSoccerBall();
    Goal* NewGoal();
    Beacon* NewBeacon();
    ExplosionField* NewExplosionField();
    GooField* NewGooField();
    StaticField* NewStaticField();
    HealthField* NewHealthField();
    FirePuff* NewFirePuff();
    WaterRing* NewWaterRing();
    // A unit without chassis (-1) carrying the squad-member flag.
    Vorn* NewVorn(uint8_t squadMember);
    VornAction* NewVornAction();
    Action* NewAction();
    PatternObject* NewPatternObject();
    MapConditional* NewMapConditional();
    PathPoint* NewPathPoint();
    LaunchPoint* NewLaunchPoint();
    FlyByPoint* NewFlyByPoint();
    // A cleared object of any kind 0..21; none for other kinds.
    WorldObject* NewObjectOfKind(int kind);
    // Back to the pool of the object's kind; an unknown kind is ignored.
    void FreeObject(WorldObject* object);
    // A record read or made but never on the field goes back to its pool with what it
    // took from the others (a unit's patterns' points and actions, its body): reset first,
    // as a removal does.
    void GiveBack(WorldObject* object);
    void FreeVornAction(VornAction* action);
    void FreeAction(Action* action);
    void FreePathPoint(PathPoint* point);
    void FreePatternObject(PatternObject* object);
    void FreeMapConditional(MapConditional* conditional);
    void FreeLaunchPoint(LaunchPoint* point);
    void FreeFlyByPoint(FlyByPoint* point);
    // The pool of a kind 0..21, or null.
    MemoryBlock* PoolOfKind(int kind) const;
    // The 29 pools in the order they were created.
    MemoryBlock* PoolAt(int index) const;
    void FlushObjectPools();

    // The object list.
    void AddObject(WorldObject* object);
    void DetachObject(WorldObject* object);
    void DestroyObject(WorldObject* object, bool notify);
    void RemoveObject(WorldObject* object, bool keepEdited);
    void RemoveFlaggedObjects(bool keepEdited);
    void RemoveObjectsOfKind(int kind);
    void ClearBattlefield(bool keepEdited);
    // While the parent updates: the first new object takes its place, the others and
    // then the parent are appended, and the loop updates the newcomer next.
    void ReplaceWithObjects(WorldObject* parent, std::span<WorldObject* const> objects);
    void ReplaceWithObject(WorldObject* parent, WorldObject* object);
    int FindObjectIndex(const WorldObject* object) const;
    WorldObject* FindObjectById(int id) const;
    WorldObject* FindObjectByKindAndId(int kind, int id) const;
    int CountObjectsOfKind(int kind) const;
    int CountEnemyVorns(const Player* player, const char* name, bool vipOnly) const;
    int CountPlayerVorns(const Player* player, const char* name, bool vipOnly) const;
    bool HasEditedVorn() const;
    void MarkVornsNamedEdited(const String& name);
    // Removes the units whose name equals name exactly (a deleted unit file).
    void RemoveVornsNamed(const String& name);
    void SetCurrentPlayer(Player* player);
    // The team new units join; the tool windows show what that team may place.
    void SetPlacingPlayer(Player* player);
    void SetScenarioName(const String& name);
    void SetSquadName(const String& name);
    void RebuildGrid();
    void SortObjectList();
    int ObjectCount() const { return objects_.Count(); }
    WorldObject* ObjectAt(int index) const { return objects_[index]; }
    const Array<WorldObject*>& Objects() const { return objects_; }
    // How many beacons and goals the list holds: the matcher walks the list for them
    // only when there are some.
    int BeaconAndGoalCount() const { return beaconsAndGoals_; }
    bool IsUpdating() const { return updating_; }

    // Clears every holder that points at an object leaving the world.
    void NotifyRemoved(WorldObject* object);
    void RegisterRemovalListener(RemovalListener* listener);
    void UnregisterRemovalListener(RemovalListener* listener);
    // The battlefield's views, told what they show changed; a listener removes itself
    // before it dies.
    void RegisterViewListener(ArenaViewListener* listener);
    void UnregisterViewListener(ArenaViewListener* listener);
    // The camera that follows `from` follows `to` (none: it stops following).
    void ReplaceFollowedObject(WorldObject* from, WorldObject* to);

    // Drawing (ArenaDrawing.cpp): one frame of the battlefield as the view shows it.
    void Draw(ArenaDrawView& view);
    void AddToDrawList(WorldObject* object, const Vector3& image);
    void DrawKind(int kind);
    void DrawKindBases(int kind);
    void DrawKindHighlight(int kind);
    // Calls drawAt with every visible image of the point.
    void DrawMarkerAtImages(const Vector3& point, const std::function<void(const Vector3&)>& drawAt);
    // A ring laid on the ground under the object's image.
    void DrawSelectionDecal(const WorldObject& object, const Vector3& image);
    // Steps the terrain's liquid frames by the frame's seconds; the main loop calls it
    // once per frame.
    void AnimateLiquids(float seconds);

    // Grid and wrap-around geometry.
    // Any cell index wraps into 0..31; with a power of two the low bits are the
    // non-negative remainder.
    static int GridIndex(int x, int y) {
        static_assert((kGridSize & (kGridSize - 1)) == 0);
        return (x & (kGridSize - 1)) * kGridSize + (y & (kGridSize - 1));
    }
    ::GridCell& GridCell(int x, int y) { return grid_[GridIndex(x, y)]; }
    // The same cell holding only the objects of body kinds (IsBodyKind), in the same order.
    ::GridCell& BodyCell(int x, int y) { return bodyGrid_[GridIndex(x, y)]; }
    // Whether any grid cell of the rectangle holds a rock.
    bool AnyRockInCells(const IntRect& cells) const;
    // Unwrapped: a point outside the arena gives cells below 0 or above 31.
    Point CellOfPoint(const Vector3& point) const;
    Vector3 CellImageOffset(int cx, int cy) const;
    IntRect BoundsOfCircle(const Vector3& centre, float radius) const;
    // The smallest cell rectangle holding the bounds of both circles.
    IntRect BoundsOfCircles(const Vector3& a, const Vector3& b, float radius) const;
    void AddToGrid(WorldObject* object);
    void RemoveFromGrid(WorldObject* object);
    // RemoveFromGrid then AddToGrid over the same bounds: the object ends each of its
    // cells.
    void MoveToEndOfCells(WorldObject* object);
    template <typename Step>
    void StepCells(WorldObject* object, int rocks, Step step);
    Vector3 WrapPosition(const Vector3& point) const;
    // The i-th of the 9 wrapped images (0 the point itself); i outside 0..8 leaves it.
    Vector3 ImageOfPoint(const Vector3& point, int i) const;
    // Inline for the common case of two points within a quarter of the arena of each
    // other, where every other image is farther by far more than rounding could hide.
    Vector3 NearestImage(const Vector3& reference, const Vector3& point) const {
        return NearestImageIn(reference, point, WorldWidth(), WorldHeight());
    }
    // The same with the arena's size read by the caller, once for a whole walk.
    Vector3 NearestImageIn(const Vector3& reference, const Vector3& point, float width, float height) const {
        if (std::fabs(point.x - reference.x) < 0.25f * width && std::fabs(point.y - reference.y) < 0.25f * height) {
            // Adding the zero the search adds keeps the sign of a zero coordinate alike.
            const float sx = reference.x <= point.x ? -width : width;
            const float sy = reference.y <= point.y ? -height : height;
            return Vector3(point.x + 0.0f * sx, point.y + 0.0f * sy, point.z);
        }
        return SearchNearestImage(reference, point);
    }
    float WrappedDistance2D(const Vector3& a, const Vector3& b) const;
    Vector2 PointAtFraction(float fx, float fy) const;
    Vector2 FractionOfPoint(const Vector3& point) const;
    float GetGroundHeight(float x, float y) const { return terrain_->GetHeight(x, y); }
    int GetTerrainType(float x, float y) const;
    Vector3 GroundPoint(float x, float y) const;
    void PlaceAboveGround(Vector3& point, float offset) const;
    void UpdateHeightsAboveGround();
    // World size in units: terrain cells x 10.
    float WorldWidth() const { return terrain_->WorldWidth(); }
    float WorldHeight() const { return terrain_->WorldHeight(); }
    Terrain& GetTerrain() { return *terrain_; }
    const Terrain& GetTerrain() const { return *terrain_; }

    // Per frame.
    void AdvanceObjectClocks();
    void Update();
    void ResetMeteorShower();
    void UpdateMeteorShower();
    // One meteor from 40 above a random spot, falling at 10 to 17 units a second.
    void SpawnMeteorAtRandom();
    Meteor* AddMeteor(const Vector3& start, const Vector3& direction, float speed, float size);

    // Launch points and fly-by points: a toggle removes the first point within 1.0 of
    // the given one (ground plane, unwrapped) or else adds one there.
    void ToggleLaunchPoint(const Vector2& point, bool withSound);
    void ToggleFlyByPoint(const Vector3& point, bool withSound);
    // A random unused launch point, marked used; a random spot with no lava or water within
    // a squad's reach when none is left (any spot on a field that has no such spot).
    Vector2 TakeRandomLaunchPoint();
    void FreeLaunchPointAt(const Vector2& point);
    void ClearLaunchPoints();
    void ClearFlyByPoints();
    int FindFlyByPointIndex(const FlyByPoint* point) const;
    // The camera's loop: the segment leaving point i, as a Catmull-Rom spline through
    // the neighbouring points' images nearest each other.
    void BuildFlyByPath(int i);
    void StartFlyBy();
    void StartFlyByIfAny();
    // The camera position after one frame along the loop; time and index carry the
    // camera's place from call to call.
    Vector3 GetFlyByPoint(float& time, int& index);
    Vector3 FlyByPathPoint(float t) const;

    // Scenario files and squads. Names are checked as file names first; a save goes
    // through a temporary file and reports whether it reached the disk.
    void WriteScenario(Stream& stream);
    // False when the text stopped short (a stream error) before "EndScenario" or its
    // end; `section` then names what was being read. A map of a refused size is logged
    // under `source` and left out; numbers that are not finite keep their defaults.
    bool ReadScenario(Stream& stream, const String& source, String& section);
    bool SaveScenario(const String& name);
    // False when the file could not be opened (the battlefield is left cleared).
    bool LoadScenario(const String& name);
    // Whether the world was started from the editor since the field began, leaving a
    // play point to go back to. A snapshot file left from an earlier field does not count.
    bool HasLastPlayPoint() const;
    // A new field begins, or the one in hand ends: the play point is dropped and its
    // snapshot file deleted.
    void ForgetLastPlayPoint();
    // With no play point kept the battlefield stays as it is and false is returned.
    bool RestoreLastPlayPoint(bool keepEdited);
    // Members that find no free place in the squad's circle are left out of the file,
    // logged and, when asked, named in `leftOut`; the others keep clear of one another.
    bool SaveSquadFile(const String& name, const Vector3& origin, std::span<Vorn* const> units,
                       StringArray* leftOut = nullptr);
    // The units such a save writes, in its order: those the squad's circle has room for.
    // The units stay where they are.
    std::vector<Vorn*> SquadSaveMembers(const Vector3& origin, std::span<Vorn* const> units);
    // The number of units placed. Members stand apart as in the squad's circle, each on
    // the ground; those that find no place there are logged and named in `leftOut`. A
    // member whose place is taken on the field stands at the free ground nearest it; one
    // for which there is none near is left out and named in `noRoom`.
    int LoadSquadFile(const String& name, const Vector3& point, Player* player, StringArray* leftOut = nullptr,
                      StringArray* noRoom = nullptr);
    // Members whose place is taken stand at the free ground nearest it, looking as far as
    // the field allows; one with none is left out, given back and named in `noRoom`, never
    // stacked on another. The squad is left empty: its members are the battlefield's, or
    // went back to the pool.
    int PlaceSquadUnits(Squad& squad, const Vector3& point, Player* player, bool delayed,
                        StringArray* noRoom = nullptr);

    // Terrain commands: objects keep their height above the ground across each change.
    void ApplyTerrainBrush(const Vector3& point, const TerrainBrush& brush);
    void FillTerrain(int type);
    void RandomizeTerrain();
    // The terrain changed under the arena's hands (a host's map read by a joined player):
    // shaded anew, and the views that picture the ground draw it again.
    void TerrainReplaced();
    void ScrollArena(int dx, int dy);
    void GrowOrShrinkTerrain(int delta);
    void ReseatObjects();

    // Spawners: each takes the object from its pool and hands it its starting values;
    // the caller adds it to the object list.
    LaserBeam* AddLaserBeam(Player* owner, const Vector3& start, float heading, const Color& colour);
    Missile* AddMissile(Player* owner, const Vector3& start, const Vector3& velocity, float heading,
                        const Vector3& target);
    // The five fragments end at the targets' images nearest the start.
    Shrapnel* NewShrapnel(Vorn* shooter, const Vector3& start, float heading, std::span<const Vector3> targets);
    // The ball flies from the start along the velocity for `life` seconds.
    // One ball of a flamethrower shot: from the launch point toward the target, flying range.
    FlameBall* NewFlameBall(Player* owner, const Vector3& launch, const Vector3& target, float range);
    // A started blast: damage above 0 is dealt at once (ApplyBlast).
    ExplosionField* NewExplosion(Player* owner, const Vector3& centre, float damage, float radius, float innerRadius,
                                 const Vector3& direction, int damageKind);
    // Flies from the start to 8 above the target's image nearest the start.
    FieldGenerator* AddFieldGenerator(Player* owner, const Vector3& start, const Vector3& target, int weaponKind);
    // Effects and marks: these spawners add the object to the list themselves.
    SmokePuff* AddSmokePuff(const Vector3& source, float size);
    ScorchMark* AddScorchMark(const Vector3& position, float size);
    // The unit's water sound (none without a unit) plays at the position.
    WaterRing* AddWaterRing(Vorn* unit, const Vector3& position, float size);
    // A settled neutral ball at rest, listed and reported; id -1 keeps the pool's id.
    SoccerBall* SpawnSoccerBall(const Vector3& position, int32_t id);
    // Breaks the unit's model into listed debris, one per part with vertices; a client
    // replaying the server's debris passes their positions and velocities (else none).
    // The number of debris made.
    int SpawnDebrisFromModel(Vorn* unit, int32_t cause, const Vector3Array* positions, const Vector3Array* velocities);

    // Positional sounds (sound indices of LoadEffectSound). A tracked sound that is still
    // playing is not restarted.
    void PlaySoundAt(int32_t sound, float volume, int32_t argument);
    // Places the sound at the point, then plays it there.
    void PlaySoundAtPoint(int32_t sound, const Vector3& point, float volume);
    // The sound's volume heard from the listener; with apply the sound takes it. The pan
    // is always set.
    float PositionSound(Sound* sound, bool apply);
    // Once a frame: the tracked sounds follow the listener, finished ones leave the list.
    void UpdateSounds();
    // Kept by the battlefield camera: where sounds are heard from, and its right-hand
    // ground direction.
    Vector3 listenerPosition;
    Vector2 listenerRight{1.0f, 0.0f};

    // Battlefield statics. A texture of the "Textures" folder that every object of a kind
    // shares; none, with one log line, when the file is missing, so that a battlefield
    // without its art (a headless test) still runs.
    TextureHandle LoadSharedTexture(const char* name);
    // The same, kept in the caller's slot and loaded again only after a renderer restart,
    // whose release took the old handle with it.
    struct SharedTextureSlot {
        RendererRef<Texture> texture;
    };
    TextureHandle LoadSharedTexture(const char* name, SharedTextureSlot& slot);
    // Appends the objects of body kinds in the grid cells of the rectangle, each once (a
    // walk of its own); callers act on them after the walk.
    void CollectBodiesInCells(const IntRect& cells, Array<WorldObject*>& out);

    // Object ids.
    void RenumberObjects();
    int TakeSyncedId() { return syncedIdCounter_++; }
    int TakeLocalId() { return localIdCounter_++; }
    static bool IsSyncedKind(int kind);

    // Grid walks. A walk must not start another walk before it ends.
    uint32_t BeginWalk();
    uint32_t VisitStamp() const { return visitStamp_; }
    // For replays and tests: the stamp the next walk increments.
    void SetVisitStamp(uint32_t stamp) { visitStamp_ = stamp; }
    // The first hit in walk order (cell column, row, cell order), not the nearest.
    bool FindFirstHit(WorldObject* mover, const CollisionShape& shape, ContactRecord* hit, const WorldObject* ignored);
    bool CheckPlacementFree(WorldObject* object, WorldObject** other);
    void ResolvePlacementOverlap(WorldObject* object, float step);
    void SettleObject(WorldObject* object) { ResolvePlacementOverlap(object, 1.0f); }
    // True when the mover's shape swept from `from` to `to` hits nothing.
    bool MoveWithCollision(WorldObject* mover, const Vector3& from, const Vector3& to, ContactRecord* hit,
                           const WorldObject* ignored);
    void SweepDamage(Player* attacker, WorldObject* mover, float damage, int damageKind);
    void ApplyBlast(Player* attacker, const Vector3& centre, float damage, float outerRadius, float innerRadius,
                    int damageKind);
    WorldObject* PickObjectOnRay(const Ray& ray);
    Vorn* PickVornOnRay(const Ray& ray);

    // List walks.
    bool IsPlaceFree(const CollisionShape& shape, const WorldObject* ignored) const;
    // What the searches of one placing share, a placing that only adds to the field
    // between them: the solid bodies of the list as far as read, and the ground (x, y,
    // r) where a search found no free place for a body of at least `radius`.
    struct GroundSearch {
        struct Body {
            const WorldObject* object;
            Vector3 position;
            float radius;
            bool wall;
        };
        struct Full {
            Vector3 area;
            float radius;
        };
        std::vector<Body> bodies;
        int read = 0;
        std::vector<Full> full;
        // How far from the wanted point a place may lie; at most as far as the field
        // allows, nearly half its narrower side.
        float reach = kFreeGroundReach;
        // What is left of the searches' work together.
        int64_t workLeft = kFreeGroundWork;
    };
    // The ground point nearest `wanted` (its z the ground's height there) where a body of
    // that radius stands
    // - clear of every solid object but the ignored ones, each at its image nearest the
    //   point, and inside `within` (a circle (x, y, r)) when one is given;
    // - on ground no worse than the wanted point's: no lava or water at its centre or the
    //   corners of its square where the wanted point has none; and none at all when
    //   `reference` (a squad's point) is given and dry at its centre, so that members
    //   whose places reach into lava still stand on dry ground;
    // - reached from the wanted point in a straight line along which the centre crosses
    //   no lava or water but what it stands in there (and, when it stands in some beside
    //   a dry reference, in a dry straight line from the reference: on the squad's side);
    // - reached without the body, its whole width, meeting a tree, rock or charger: one
    //   that overlaps a wall only moves away from it, and never through a gap narrower
    //   than itself.
    // False when there is none within the search's reach.
    // False too when the search's work is spent first: each search may do what is left
    // of `search`'s work, or a small allowance when that is less, however the ground lies.
    // Searches for bodies not yet on the field, in turn, may share `search`: each reads
    // only the objects added since, and leaves aside the ground found full before.
    bool FindFreeGround(const Vector3& wanted, float radius, std::span<const WorldObject* const> ignored,
                        const Vector3* within, Vector3& place, GroundSearch* search = nullptr,
                        const Vector3* reference = nullptr) const;
    WorldObject* NearestObject(const Vector3& point, Vector3* image) const;
    WorldObject* NearestObjectOfKind(const Vector3& point, Vector3* image, int kind) const;
    Vorn* NearestVornNamed(const Vector3& point, Vector3* image, const Player* player, const char* name) const;

    // Ground sampling over a circle (x, y, r).
    bool AreaHasPlainGround(const Vector3& circle) const;
    bool AreaHasSlowGround(const Vector3& circle) const;
    bool AreaHasLava(const Vector3& circle) const;
    bool AreaHasWater(const Vector3& circle) const;
    float AreaMeanHeight(const Vector3& circle) const;
    CollisionShape ShapeOnGround(int kind, const Vector2& point, float radius) const;
    Vector3 PickTerrainPoint(const Ray& ray, float drop) const;
    Vector3 RandomPoint() const;

    // Placement.
    bool PlaceObjectAt(int kind, int argument, const Vector3& point);
    Vorn* PlaceVornAt(const String& fileName, const Vector3& point, Player* player);
    Vorn* PlaceChassisAt(int chassis, const Vector3& point, Player* player);
    void PlaceObjectsAround(int kind, int argument, int count, const Vector3& centre);
    void PlaceVornsAround(const String& fileName, int count, Player* player, const Vector3& centre);
    void PlaceChassisAround(int chassis, int count, Player* player, const Vector3& centre);
    void PlaceObjectsRandomly(int kind, int argument, int count);
    void PlaceVornsRandomly(const String& fileName, int count, Player* player);
    void PlaceChassisRandomly(int chassis, int count, Player* player);

    // Fields other parts of the program read and set.
    String scenarioName;
    String squadName;
    Player* currentPlayer = nullptr;
    // Set when the object at the current update index was replaced during its update.
    uint8_t listChanged = 0;
    int32_t updateIndex = 0;
    int32_t currentObjectIndex = 0;
    // 0.8 while the professor speaks, else 1.0.
    float effectVolume = 1.0f;
    Array<FlyByPoint*> flyByPoints;
    Vector3 flyByPath[4];
    float flyByPathLength = 0.0f;
    Array<LaunchPoint*> launchPoints;
    bool wireFrame = false;
    bool renormaliseNormals = false;
    bool collisionDebug = false;
    WorldObject* mouseHighlight = nullptr;
    // Unwrapped cells the camera sees; picking searches only these.
    IntRect visibleCells{0, 0, kGridSize - 1, kGridSize - 1};
    // Meteor shower.
    int32_t meteorLevel = 0;
    float meteorClock = 0.0f;
    float meteorAccumulator = 0.0f;
    float meteorStartTime = 5.0f;
    float meteorIntensity = 1.0f;
    bool meteorShowerOn = false;
    // The meteors' own animation clock.
    float globalMeteorClock = 0.0f;
    PointerArray trackedSounds;
    Array<DrawEntry> drawLists[22];
    // The placing team and side number that the game modes set.
    Player* placingPlayer = nullptr;
    int32_t sideNumber = 0;

private:
    // Set when the snapshot was written for this field.
    bool playPointKept_ = false;
    struct Pools;
    // One victim of a damage walk, applied after the walk ends.
    struct DamageHit {
        WorldObject* victim = nullptr;
        Player* attacker = nullptr;
        Vector3 point;
        float amount = 0.0f;
        int damageKind = 0;
        // What the game hears of the hit: flame reports before the damage, a blast after.
        Vector3 reportPoint;
        int reportCode = 0;
        bool reportFirst = false;
    };

    // Scenario reading: each stops at the first stream error and then answers false.
    bool ReadScenarioMap(Stream& stream, const String& source);
    bool ReadScenarioObjects(Stream& stream);
    // False ends the object list; keep false reads the entry and drops it.
    bool ReadScenarioObject(Stream& stream, bool keep);
    bool ReadLaunchPoints(Stream& stream);
    bool ReadFlyByPoints(Stream& stream);

    // As DetachObject and RemoveObject, with the list index where the object is likely
    // to stand (-1: unknown).
    void DetachObjectAt(WorldObject* object, int hint);
    void RemoveObjectAt(WorldObject* object, bool keepEdited, int hint);
    void CreatePools();
    void PreallocatePools();
    void DestroyPools();
    void CloseSelectionViews();
    void ForgetBeacon(const Beacon* beacon);
    void ClearPointLists();
    void ResetAllVisitStamps();
    // The visible cell rectangle: the view's ground box, cut to a few map copies around
    // the camera target.
    IntRect ComputeVisibleCells(const ArenaDrawView& view) const;
    void FillDrawLists();
    void DrawSelectionDecals(const ArenaDrawView& view);
    void DrawPointMarkers();
    void DrawCollisionShapes();
    // One of the unit passes over every listed unit image.
    void DrawUnits(void (Vorn::*pass)(const Vector3&));
    // The texture of the digit that numbers a fly-by marker; none when the data lacks it.
    TextureHandle FlyByDigit(int digit);
    bool IsVisited(const WorldObject& object) const;
    void MarkVisited(WorldObject& object) const;
    Array<DamageHit>& BeginDamageWalk();
    void ApplyDamageHits();
    bool SampleHasGround(const Vector3& circle, int flagMask) const;
    // The lava and water flags of the ground under a body there: at its centre and the
    // corners of its square.
    int HazardsUnder(float x, float y, float radius) const;
    // The lava and water flags of every square of the ground the segment passes through
    // or touches.
    int HazardsAlong(const Vector2& from, const Vector2& to) const;
    // The lava and water flags of every square of the ground within `reach` of the point.
    int HazardsWithin(float x, float y, float reach) const;
    // Tells every view listener; one may unregister itself while it is told.
    template <typename F>
    void TellViews(F&& tell);
    template <typename F>
    bool WalkCells(const IntRect& rect, F&& visit, bool bodiesOnly);
    template <typename F>
    WorldObject* NearestMatching(const Vector3& point, Vector3* image, F&& matches) const;
    template <typename F>
    void PlaceWithTries(int count, const Vector3* centre, F&& placeAt);
    bool IsFreeForUnit(const Vector3& point, float radius) const;
    void FinishUnitPlacement(Vorn* unit, const Vector3& point);
    void ClearGrids();
    // NearestImage's search of the nine images.
    Vector3 SearchNearestImage(const Vector3& reference, const Vector3& point) const;
    // Keeps the beacon and goal count as an object enters (+1) or leaves (-1) the list.
    void CountListed(const WorldObject* object, int step);

    std::unique_ptr<Terrain> terrain_;
    std::unique_ptr<Pools> pools_;
    Array<WorldObject*> objects_;
    int beaconsAndGoals_ = 0;
    ::GridCell grid_[kGridCellCount];
    ::GridCell bodyGrid_[kGridCellCount];
    // How many rocks each grid cell holds.
    int rocksInCell_[kGridCellCount] = {};
    // The update-order sort deals the list into this, kept for the run.
    Array<WorldObject*> sortScratch_;
    Array<RemovalListener*> removalListeners_;
    Array<ArenaViewListener*> viewListeners_;
    // One hit list per nesting level of damage walks (a death may start a blast), kept
    // for the run so that damage allocates nothing once warm.
    Array<Array<DamageHit>*> damageHitLists_;
    int damageDepth_ = 0;
    int32_t syncedIdCounter_ = 0;
    int32_t localIdCounter_ = 1000000;
    uint32_t visitStamp_ = 0xFFFFFFFFu;
    bool updating_ = false;
};

template <typename F>
void Arena::TellViews(F&& tell) {
    for (int i = viewListeners_.Count() - 1; i >= 0; --i) {
        if (i < viewListeners_.Count()) {
            tell(*viewListeners_[i]);
        }
    }
}

// The one arena, made by the start-up loader and destroyed at program end.
extern Arena* gArena;
