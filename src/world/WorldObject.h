#pragma once
// The base of every battlefield object: units, static objects, projectiles, fields, the
// ball and the effects. Objects come from the arena's pools and are never deleted one by
// one: they ask to be removed by a flag and the arena takes them out after the tick.
#include <cstdint>

#include "core/IntRect.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector3Array.h"
#include "engine/TextureHandle.h"
#include "world/CollisionShape.h"
#include "world/ObjectKind.h"

class Arena;
class GridCell;
class ModelNode;
class PatternObject;
class Player;
class Stream;
class String;
struct ContactRecord;

// Declared with the game base (game/Game.h): whether the current game is a network client.
bool IsCurrentGameClient();

// A texture laid flat on the terrain under an object, turned by angle.
struct ShadowDecal {
    TextureHandle texture = nullptr;  // none when null
    Vector2 centre;
    float halfSize = 0.0f;
    float angle = 0.0f;
};

// The grid bounds of an object that is in no grid cell.
constexpr IntRect kEmptyGridBounds{0, 0, -1, -1};

class WorldObject {
public:
    WorldObject();
    virtual ~WorldObject();
    WorldObject(const WorldObject&) = delete;
    WorldObject& operator=(const WorldObject&) = delete;

    // Prepares the object before it goes back to its pool.
    virtual void Reset() = 0;
    // Whether patterns can refer to the object.
    virtual bool IsPatternTarget() const = 0;
    // point: where the arena draws this wrapped image of the object.
    virtual void Draw(const Vector3& point) = 0;
    virtual void OnCollide(WorldObject* other, const Vector3& contactPoint);
    virtual void Update(bool paused) = 0;
    virtual void OnAdded();
    virtual void PlaceAt(const Vector3& point);
    virtual void SetVelocity(const Vector3& value);
    virtual const Matrix4& BuildWorldMatrix();
    // Turns the facing angle toward a ground-plane point, seen from the facing origin.
    virtual void FaceDirection(const Vector3& point);
    virtual void SetTeam(int value);
    // Max health and health := value; forgets the last attacker.
    virtual void ResetHealth(float value);
    virtual void SetHealth(float value);
    virtual void SetMaxHealth(float value);
    // The flag's meaning belongs to the kinds.
    virtual void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag);
    // Adds health up to max health and reports a change to the current game.
    virtual void Heal(float amount);
    // Asks the arena to take the object out after the tick.
    virtual void Remove(int flag);
    virtual float GetRadius() const;
    // Reads the object's entry of a scenario, unit or squad text; false when the entry
    // stopped short of its "End" (a value that did not read, or the end of the text).
    virtual bool Load(Stream& stream);
    virtual void Save(Stream& stream);
    virtual void SetDefaults();
    // Whether scenario files keep the object.
    virtual bool IsSaved() const;
    virtual void SetTimeBudget(float seconds);
    virtual void SpendTime(float seconds);
    virtual bool IsReady() const;
    // Called by the kinds' own PlaceAt after placing.
    virtual void OnPlaced();

    // Stores the position without touching the grid or the shape.
    void SetPosition(const Vector3& value) { position = value; }
    // Kinds that move call it at the start of a step.
    void SavePreviousState();
    void RestorePreviousState();
    // Back to the previous heading, shape, place and grid bounds.
    void RevertMove();
    void ReturnToPreviousPosition();
    void ClearGridBounds();
    void ClearRemoved() { removed = false; }
    // Re-enters the object in the grid cells that its shape around its position covers.
    void UpdateGridPlacement();
    // Moves the shape to its wrapped image nearest the point.
    void WrapShapeNear(const Vector3& point);
    // Folds the shape back into the arena.
    void WrapShapeIntoArena();
    Vector3 GetHeadingVector() const;
    Vector2 GetFacingVector() const;
    // The moment within the frame that the object has reached: game clock + frame time -
    // unspent budget.
    float CurrentTime() const;
    void SpendAllTime();
    // Takes the next id of the synced or the local counter, by kind.
    void AssignId();
    void AssignId(Arena& arena);
    // The pair rule the grid queries apply before testing shapes: the kinds' table, and
    // on a network client no hits of its own projectiles but flames.
    bool CanCollideWith(const WorldObject& other) const {
        return KindsCollide(kind, other.kind) && !LeavesHitsToServer();
    }
    bool IsBlockedBy(const WorldObject& other) const;
    // A projectile other than a flame ball, in a network client's game.
    bool LeavesHitsToServer() const {
        return IsProjectileKind(kind) && kind != kKindFlameBall && IsCurrentGameClient();
    }
    // Collision response of bouncing objects (debris, the ball, airborne units).
    void BounceOff(const ContactRecord& contact);

    // Drawing helpers; point is the image of the object being drawn.
    void DrawModelAt(const Vector3& point);
    void DrawShadowDecals(const Vector3& point);
    // A texture laid on the terrain over the square centre +/- half, drawn at the image
    // point: the decal follows the ground under the object, shifted with the image.
    void DrawGroundDecal(const Vector3& point, const Vector2& centre, float half, TextureHandle texture, Color colour,
                         bool lit, float angle, float scale = 1.0f, uint32_t mode = 4) const;
    // The shadow of an upright object as a terrain decal, in the first or second slot.
    void ComputeShadow(const Vector3& basePoint, const Vector3& topPoint, const Vector3& upperPoint,
                       TextureHandle texture, bool second);
    void TakeTerrainLight();

    // The table name for 0..21; the language text of "None" for any other kind.
    static String KindName(int kind);
    // The first kind whose name equals the text ignoring case; kKindNone when none does.
    static int KindFromName(const String& text);
    // The next key of a text entry, past its "Type" line; false at "End", at the end of
    // the text and once a read has failed.
    static bool ReadEntryKey(Stream& stream, String& word);

    // Fields, in the order the kinds and the arena rely on.
    float heading = 0.0f;  // radians about the vertical axis
    float previousHeading = 0.0f;
    float scale = 1.0f;
    Vector3 previousPosition;
    Vector2 facingOrigin;
    float facingAngle = 0.0f;
    int32_t kind = kKindNone;
    int32_t team = 0;  // player side; a variant number for some static kinds
    bool removed = false;
    // The arena's grid walks write their walk number here so that one walk tests an
    // object once.
    int32_t visitStamp = -1;
    int32_t id = -1;
    int32_t loadedId = 0;        // read by the kinds' Load from the "ID" key
    ModelNode* model = nullptr;  // not owned
    bool onGround = false;
    bool active = false;  // set while the object is in the arena's list
    float startDelay = 0.0f;
    Vector3Array points;
    ShadowDecal shadows[2];
    float litColour[2][4] = {};  // light 0 while the model is drawn
    Matrix4 worldMatrix;
    Vector3 position;  // world units; ground plane X-Y, Z up
    Vector3 velocity;  // world units per second
    float health = 0.0f;
    Player* lastAttacker = nullptr;  // credited with the fatal hit; not owned
    float maxHealth = 0.0f;
    GridCell* gridCell = nullptr;       // the arena cell holding the position
    IntRect bounds = kEmptyGridBounds;  // grid cells covered by the shape, unwrapped
    IntRect previousBounds = kEmptyGridBounds;
    CollisionShape shape;
    CollisionShape previousShape;
    float timeBudget = 0.0f;         // seconds still to spend in this tick
    float heightAboveGround = 0.0f;  // kept across terrain edits
    // Written and read only by the pattern matcher.
    PatternObject* matchedPatternObject = nullptr;
    int32_t matchIndex = -1;
};

// Scenario, unit and squad files write and read objects through their Save and Load.
Stream& operator<<(Stream& stream, WorldObject& object);
Stream& operator>>(Stream& stream, WorldObject& object);
