#pragma once
// The player-built combat unit: a world object with a chassis, two weapon places, an
// owning player, up to sixteen patterns and a queue of actions that it carries out on its
// own, spending the time budget the arena hands it every tick.
//
// The unit's code is split by subject: Vorn.cpp (record and lifecycle), VornBehaviour.cpp
// (the per-tick loop and the actions), VornMovement.cpp (turning, walking, falling,
// contacts and aiming), VornFile.cpp (the unit file), VornLooks.cpp (looks and ball).
#include <cstdint>
#include <memory>

#include "core/Array.h"
#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "core/Spring.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector3Array.h"
#include "engine/RendererRef.h"
#include "engine/AnimationController.h"
#include "units/Weapon.h"
#include "world/WorldObject.h"

class Beacon;
class ChassisDefinition;
class MeshBatch;
class ModelNode;
class Pattern;
class PathPoint;
class Player;
class SoccerBall;
class Stream;
class VornAction;
struct ContactRecord;
class WorldObject;

// Frees the sixteen pattern slots where the pattern record is known, so that users of
// the unit need not include it.
struct PatternSlotsDeleter {
    void operator()(Pattern* slots) const;
};

class Vorn : public WorldObject {
public:
    static constexpr int kMaxPatterns = 16;
    static constexpr int kWeaponPlaces = 2;
    static constexpr int kChassisRows = 6;

    // The twelve conditional flags, in the order of the pattern conditionals.
    enum ConditionIndex : int {
        kSwitch1 = 0,
        kSwitch2,
        kSignal1,
        kSignal2,
        kInjured,
        kOutOfAmmo1,
        kOutOfAmmo2,
        kReloading1,
        kReloading2,
        kTimerRunning,
        kTimerExpired,
        kHasBall,
        kConditionCount
    };

    // Animation states of the looks; the behaviour reads and sets a few of them.
    enum AnimationState : int32_t {
        kAnimNone = 0,
        kAnimVictoryWaiting = 1,
        kAnimVictoryPlaying = 2,
        kAnimDefeatWaiting = 3,
        kAnimDefeatPlaying = 4,
        kAnimIdle = 5,
        kAnimIdlePlaying = 6,
        kAnimSimpleVictoryWaiting = 7,
        kAnimSimpleVictoryPlaying = 8,
        kAnimKick = 9,
        kAnimFlying = 10,
        kAnimTurn = 11,
        kAnimWalk = 12,
    };

    // Indices of the unit's own sounds.
    enum SoundIndex : int {
        kSoundBallHead = 0,
        kSoundLaunch,
        kSoundPropeller,
        kSoundBombExplosion,
        kSoundLand,
        kSoundPunch,
        kSoundSizzle,
        kSoundSizzleShort,
        kSoundWaterRing,
        kSoundVornExplosion,
        kSoundCheer,
        kSoundLaugh,
        kSoundCount
    };

    Vorn();
    ~Vorn() override;

    // WorldObject operations.
    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void OnCollide(WorldObject* other, const Vector3& contactPoint) override;
    void Update(bool paused) override;
    void OnAdded() override {}
    void PlaceAt(const Vector3& point) override;
    void SetHealth(float value) override;
    // Held to the maximum before the health is set, so that healing a whole unit changes
    // nothing, not even its bar.
    void Heal(float amount) override;
    // flag: the sound kind, 1 sizzle, 2 short sizzle, 3 meteor (no shower restart).
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    // flag non-zero: with effects (explosion, scorch mark, sounds). See Destroy.
    void Remove(int flag) override { Destroy(flag != 0); }
    // Also false when a "Filename" reference in the record did not load, and when the
    // text ends before the record's "End".
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    void SetDefaults() override { PrepareForBattle(); }
    bool IsSaved() const override { return true; }
    // The budget goes down, the weapons reload and the SetTimer timer runs; afterwards the
    // TimerRunning flag holds the answer of SpendTimeRunning.
    void SpendTime(float seconds) override { SpendTimeRunning(seconds); }
    bool IsReady() const override { return delayTimer <= 0.0f; }
    void OnPlaced() override;
    // Sets the heading (radians).
    virtual void SetAngle(float angle);

    // Lifecycle and record.
    // Readies the unit for battle. A unit without a chassis (-1) is left untouched: it
    // has no health or pattern count to take.
    void PrepareForBattle();
    // Slots between the old and the new count are reset; n is kept within 0..16.
    void SetPatternSlotCount(int n);
    // The editor's rule: the local player's allowed count for this chassis (may shrink).
    void ApplyPatternSlots();
    void PackPatterns();
    int CountEnabledPatterns() const;
    // Whether any pattern is enabled: asked every tick, it stops at the first one.
    bool HasEnabledPattern() const;
    // Puts a weapon kind in place 0 or 1; a kind outside 0..11 (the arena passes -1 for
    // "none") leaves the place as it is.
    void SetWeaponKind(int32_t place, int32_t weaponKind);
    void ComputeCost();
    int32_t WeaponAmmoFor(int32_t weaponKind) const;
    void SetPlayer(Player* player);
    bool UsesWeapon2Actions() const;
    bool UsesWeapon2Conditionals() const;
    bool HasVornLauncher() const;
    bool HasVornLauncherOfSize1() const;
    // 0 small, 1 medium, 2 large; 0 for a unit without a valid chassis.
    int32_t SizeClass() const;
    bool HasValidChassis() const { return chassisType >= 0 && chassisType < kChassisRows; }
    // The chassis turn rate (radians per second); 0 without a valid chassis.
    float TurnRate() const;
    // Whether the unit still waits out its delay.
    bool IsDelayed() const { return delayTimer > 0.0f; }
    void RestartInPlace();
    void ResetPatternState();
    // A visible push of the body, scaled by the size class; the position is kept.
    void Knockback(float strength, const Vector2& direction);
    // A weapon's recoil: a knockback against the firing direction.
    void Recoil(float strength, const Vector3& firingDirection);
    // Removal with or without effects; a unit already removed is left alone.
    void Destroy(bool withEffects);
    // Editor chassis-change rules.
    void RemoveWeapon2Actions();
    void ClearWeapon2Conditionals();
    void ClearMediumAmmoFromLaunchers();
    void ReplaceLaunchersWithLasers();

    // The ball.
    void SetHasBall(bool on);
    void PickUpBall(SoccerBall* ball);
    void DropBall(float speed);
    float BallDropSpeed() const;
    void ScoreCarriedBall(WorldObject* goal);
    Vector3 CarriedBallPosition() const;
    // The carried ball's rolling turn, which a kicked or scored ball keeps.
    Quaternion CarriedBallOrientation() const;
    void GiveBall();
    void KickCarriedBall(const Vector3& target);
    void PutBallInPlay(SoccerBall* ball, Player* credited, const Vector3& point, const Vector3& speed, bool kickSound);

    // Behaviour loop and actions.
    void RunActions();
    void PerformAction(VornAction* action);
    void NextAction();
    void ClearActionQueue();
    void SetCurrentPattern(Pattern* pattern);
    void ChoosePattern();
    // The flag behind the question mark over a unit in water or in a static field.
    void UpdateInWaterOrStaticField();
    // The matcher hands the chosen pattern's path, placed in the world.
    void QueuePatternActions(const Array<PathPoint*>& path);
    // The budget spent, the weapons and the SetTimer timer advanced; true while the
    // SetTimer timer runs.
    bool SpendTimeRunning(float seconds);
    void UpdateWeapons(float seconds);
    // Network client: applies an action received from the server. The unit takes
    // ownership of the record (it returns to the pool when finished).
    void BeginAction(VornAction* action);
    void FireWeaponAction(float time, Weapon& weapon, const Vector3& target, bool aimHigh);
    void FireWeapon(float time, Weapon& weapon, const Vector3& aimPoint, bool aimHigh, int32_t shotId, uint8_t shotFlag,
                    const Vector3Array* shotData);
    void ApplyGroundEffects();
    void HoldArenaForWatchedUnit();
    void IdleWithoutPattern();
    // Injured and TimerExpired are one-shot: the matcher clears them after each choice.
    void ClearOneShotConditionals();
    void StartTeleportFade();
    // A newly chosen pattern shows when its first action starts: once that action has
    // been reported (and so sent with its flag), the fade starts and the flag is spent.
    void ShowPatternStart(VornAction* action);

    // Movement.
    void StepTurn(VornAction* action);
    void StepWalk(VornAction* action);
    // True when the walk is over (arrived, or given up).
    bool MoveToward(const Vector3& direction, const Vector3& destination, float& distanceLeft, int depth);
    void AirborneStep();
    // Contact rules between units; true when this unit was used up by the contact.
    bool Contact(WorldObject* other, const Vector3& contactPoint);
    static float WalkAngleFactor(const Vector3& start, const Vector3& end, float heading);
    Vector3 AimWithError(const Vector3& target) const;
    Vector3 AvoidSelfAim(const Vector3& point) const;
    Vector3 ClampAimRange(const Vector3& point) const;
    // The aim of a fire action of that weapon kind at the target.
    Vector3 AimPointFor(int32_t weaponKind, const Vector3& target) const;
    bool IsPointWithinReach(const Vector3& point, const WorldObject& other) const;
    // The unit's centre at contact (contactPoint) taken round the obstacle toward the walk
    // end; *reachedEnd tells whether it got as near the end as the obstacle allows.
    Vector3 SlidePoint(const Vector3& start, const Vector3& contactPoint, const Vector3& travel,
                       const WorldObject& obstacle, float& distanceLeft, bool* reachedEnd = nullptr) const;
    // Bisection between a free point and the obstacle; the free end at touching distance.
    Vector3 ContactPointToward(const Vector3& freePoint, const WorldObject& obstacle) const;
    void NudgeHeading();

    // Looks. The body is the unit's own copy of its chassis model, posed by its
    // animation controller.
    void BuildBody(int32_t chassis);
    // Hands the body copy back to the renderer for the next body of its chassis and frees
    // the draw batch made of it: the unit goes, or its body is built anew.
    void ReleaseBody();
    void SetMood(int32_t newMood, float seconds);
    void SetWeaponModel(int32_t place, int32_t weaponKind);
    void SetAnimationState(int32_t state);
    void UpdateAnimation();
    void PickIdleDelay();
    void AimWeaponPlace(const Weapon& weapon, bool aimHigh, const Vector3& aimPoint);
    void UpdateBodyAndBall();
    void StepBodySway();
    void PlaySound(int which, float volume);
    // Starts a named animation of the body on the track (blend 0.5, second value 0.1).
    void PlayAnimation(const String& animation, const char* track, bool looping);
    // The face nodes show the chassis' meshes for the mood and the variants; parts the
    // chassis lacks are left as they are.
    static void SetFaceMood(ModelNode* body, const ChassisDefinition& chassis, int32_t mood, int32_t mouth,
                            int32_t eye);
    // Rolling a ball of the radius along the ground displacement.
    static Quaternion RollQuaternion(const Vector3& displacement, float radius);
    // Where the body is drawn for the image point: turned to the heading, tilted toward
    // the sway, and while fading shrunk and spun.
    Matrix4 BodyTransform(const Vector3& point) const;
    void DrawBody(const Vector3& point);
    // The arena's unit passes, each at one image of the unit.
    void DrawTeleportDecal(const Vector3& point);
    void DrawPatternBackgroundDecal(const Vector3& point);
    void DrawDebuggedPattern(const Vector3& point);
    void DrawOverlays(const Vector3& point);

    // Unit file.
    // Reads the named unit file (the player's folder, then the shared "Vorns" folder).
    // False when no file could be read whole, with a line in the debug log; a name that
    // is not safe as a file name, or a "Filename" reference met while another file is
    // being read, counts as missing. A failed load leaves the unit as LoadFailed does.
    bool LoadFile(const String& fileName);
    // Writes the unit's own file in full form by a safe save; false when nothing was
    // written (an unsafe name, or a write that failed).
    bool SaveFile(const String& fileName);
    // Whether Save writes the short form (a reference to the unit's own file).
    bool WritesShortForm() const;

    // Slot 0..15 (unchecked, as an array element).
    Pattern& PatternAt(int i);
    const Pattern& PatternAt(int i) const;

    // Fields.
    uint8_t actionBegunThisFrame = 0;  // network client: an action was applied this frame
    int32_t animationState = kAnimNone;
    float idleAnimationDelay = 0.0f;
    Pattern* currentPattern = nullptr;   // one of the unit's own patterns, or none
    Pattern* debuggerPattern = nullptr;  // the pattern the debugger shows
    int32_t chassisType = -1;            // row of the chassis table; -1 none
    float walkSpeed = 0.0f;
    uint8_t conditionals[kConditionCount] = {};
    float setTimer = 0.0f;  // the SetTimer timer, seconds
    uint8_t bumpedThisTick = 0;
    uint8_t doneThisTick = 0;
    uint8_t choseThisTick = 0;  // chose a pattern this tick
    int32_t cost = 0;
    uint8_t carryingBall = 0;
    // The carried ball: offset from the head, height, spin, bounce speed, and the time
    // enemies have pressed the carrier.
    Vector2 ballOffset;
    float ballHeight = 0.0f;
    Vector3 ballSpin;
    Vector3 ballDrift;
    float ballBounceSpeed = 0.0f;
    float ballPressure = 0.0f;
    // The player that touched the ball before this unit took it, kept for two ticks.
    Player* ballCreditPlayer = nullptr;
    int32_t ballCreditTicks = 0;
    float delayTimer = 0.0f;   // seconds before the unit acts
    Beacon* beacon = nullptr;  // the last beacon this unit set
    uint8_t vip = 0;
    float speedFactor = 1.0f;  // 1.0 at the start of every tick
    uint8_t inStaticFieldThisTick = 0;
    uint8_t inWaterOrStaticField = 0;
    float teleportFadeTimer = 0.0f;
    float teleportFadeLevel = 0.0f;
    uint8_t teleportFadeActive = 0;
    // Network client: a received pattern start, shown by this frame's update at the point
    // where the server's unit starts its fade.
    uint8_t teleportFadeDue = 0;
    Vector3 walkStart;
    Vector3 walkEnd;
    float turnLeft = 0.0f;  // radians still to turn while walking
    Spring bodySway;
    Vector3 swayVector;
    Vector2 bodyLean;                   // where the body sway leans to; zero at rest
    RendererRef<ModelNode> bodyModel;     // not owned
    RendererRef<ModelNode> bodyInstance;  // the copy BuildBody made; handed back by ReleaseBody
    // The body's parts drawn from atlases, gathered into a draw per atlas; made on the
    // body's first draw in view.
    std::unique_ptr<MeshBatch> bodyBatch;
    AnimationController bodyAnimation;
    // The arm of the last shot keeps aiming for a moment over the body's animation.
    int32_t aimPlace = -1;
    Vector3 aimTarget;
    float aimTimer = 0.0f;
    uint8_t aimingHigh = 0;
    RendererRef<ModelNode> ballNode;
    RendererRef<ModelNode> torsoNode;
    Quaternion roll;
    float rollRadius = 0.0f;
    uint8_t animationHeld = 0;     // the body's animation is held (not replaced)
    uint8_t animationPlaying = 0;  // a one-shot animation is still playing
    String animationName;
    float animationSpeed = 1.0f;
    uint8_t endPoseSet = 0;
    float healthBarTimer = 0.0f;
    uint8_t damaged = 0;
    float waterRingTime = 0.0f;
    int32_t mood = 1;  // 0 mean, 1 happy, 2 sad
    float moodTimer = 0.0f;
    int32_t mouthVariant = -1;
    int32_t eyeVariant = -1;
    int32_t sounds[kSoundCount] = {};  // effect sound indices, -1 none
    float endPoseSoundTimer = 0.0f;
    // 16 slots; the first patternCount are in use.
    std::unique_ptr<Pattern[], PatternSlotsDeleter> patterns;
    int32_t patternCount = 0;
    Player* owner = nullptr;  // not owned
    // On the server and in single play the current action is the first queued record;
    // on a network client it is the last action received and the queue is not used.
    VornAction* currentAction = nullptr;
    Array<VornAction*> actionQueue;
    Weapon weapons[kWeaponPlaces];
    int32_t weaponPlaceCount = 2;  // places the chassis uses
    RendererRef<ModelNode> weaponPlaceNodes[kWeaponPlaces];
    String name;

    // Fields the other parts of the program use.
    uint8_t squadMember = 0;     // the byte given to Arena::NewVorn (launched units carry it)
    uint8_t fromSquad = 0;       // set when placed from a squad file or launched in a squad
    uint8_t crazy = 0;           // chooses among its patterns at random
    uint8_t actingAtRandom = 0;  // the last choice was at random (set by the matcher)
    Matrix4 patternFrame;        // the world matrix when the pattern was placed
    Matrix4 editorMatrix;        // kept by ResetPatternState for the editors
    int32_t stuckCount = 0;      // bounces in the air without landing
    uint8_t edited = 0;          // changed since it was last saved
    uint8_t costEdited = 0;
    int32_t launchCount = 0;       // units launched by this unit's launchers
    uint8_t launchedUnitFlag = 0;  // handed to every unit this unit launches
    // Rises from 0 to 2 while the launch window counts down with this unit in the shown
    // squad; kept for the unit's drawing.
    float launchFade = 0.0f;
    uint8_t showPatternBackground = 0;
    uint8_t showIcons = 0;
    uint8_t showHealthBar = 0;
    uint8_t showPatternBubble = 0;
    uint8_t endPoseSoundPlaying = 0;

    // Set while SaveFile writes, so that the unit's own file is always the full form.
    static bool writingOwnFile;

private:
    void ResetConditionals();
    void LoadSounds();
    void StepEndPoseSound();
    void StepCarriedBall(float seconds);
    void PoseAimingArm();
    void DrawPatternBubble(const Vector3& point, float lift);
    void DestroyEffects();
    void ExplodeCarriedExplosives();
    void CountLoss();
    // Behaviour.
    void AdvanceTimers();
    void CountDownDelay();
    void ClearPerTickFlags();
    void TickLoop();
    bool ChooseWhenIdle();
    void ReportAction(VornAction* action, float time);
    void ApplyInstantAction(VornAction* action, bool replay);
    void ApplySignalAction(int32_t actionKind, bool replay);
    // Fires the action's weapon through fire(weapon, aimHigh); false when there was nothing
    // to fire and the action has been passed over.
    template <class Fire>
    bool FireActionWeapon(VornAction* action, Fire fire);
    void PerformFireAction(VornAction* action, float time);
    void ShowLaserWhenEmptyLauncher(int place);
    VornAction* QueueRecord(int32_t actionKind);
    void QueueWalk(const PathPoint& from, const PathPoint& to);
    void ReplayStep(VornAction* action);
    void BeginFireAction(VornAction* action);
    // Movement.
    float ChassisSpeed() const;
    float TurnWhileWalking(const Vector3& faceTarget);
    void AddWaterRingsWhileWalking(float budget);
    bool MoveBlocked(const ContactRecord& hit, const Vector3& direction, const Vector3& destination,
                     float& distanceLeft, int depth);
    Vector3 StopBefore(const Vector3& to, const WorldObject& obstacle) const;
    bool GiveUpWalk(float& distanceLeft);
    bool SlideAround(WorldObject& obstacle, const ContactRecord& hit, float& distanceLeft);
    bool StepAroundObstacle(WorldObject& obstacle, const ContactRecord& hit, const Vector3& destination,
                            float& distanceLeft, int depth);
    bool ExplosiveContact(Vorn& other);
    void BallPressure(Vorn& other);
    void RollBody(const Vector3& displacement);
    void FollowWith(WorldObject* from, WorldObject* to);
    // File.
    void WriteBody(Stream& stream);
    // The keys of a unit's text up to "End" or the end of the text; false, with the key
    // whose value did not read in `key`, when the record stopped short or a "Filename"
    // reference did not load.
    bool ReadRecord(Stream& stream, String& key);
    bool ReadValue(Stream& stream, const String& key, bool& filenameFailed);
    bool ReadPatterns(Stream& stream);
    bool ReadWeapons(Stream& stream);
    void ReadOwner(const String& playerName);
    bool ReadFilename(const String& fileName);
    void LoadFailed();

    int32_t actionsThisTick = 0;
};
