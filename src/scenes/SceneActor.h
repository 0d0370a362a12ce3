#pragma once
// One figure of a cut-scene, built for one of the kinds by name: a unit body, the guide,
// a missile, scenery, a bunny, a worm hole, debris or an explosion. At the start of every
// step it takes that step's direction, then moves, turns, scales and animates toward it,
// tells the player when it has arrived, and draws itself.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "core/Spring.h"
#include "core/Vector3.h"
#include "engine/AnimationController.h"
#include "scenes/ActorDirection.h"

class ModelNode;
class ParticleSystem;
class Scene;
class SceneSmoke;
class Speaker;
class WormStrand;

enum class SceneActorKind : int32_t {
    RobotSmallVorn,
    RobotMediumVorn,
    RobotLargeVorn,
    StalkSmallVorn,
    StalkMediumVorn,
    StalkLargeVorn,
    Professor,
    Missile,
    Rock,
    PalmTree,
    PineTree,
    OakTree,
    Cactus,
    Earth,
    WormHole,
    Bunny,
    Cloud,
    LaserBeam,
    Debris,
    Explosion,
    Mountain,
    SpaceBunny,
    Mesa,
    Computer,
    SoccerBall,
    None
};

// An orientation as the scripts give it: an axis and an angle in degrees.
struct AxisAngle {
    Vector3 axis{1.0f, 0.0f, 0.0f};
    float degrees = 0.0f;
};

class SceneActor {
public:
    static constexpr int32_t kKindCount = int32_t(SceneActorKind::None);
    static constexpr int32_t kWormCount = 9;
    static constexpr int32_t kMissileEmitters = 10;
    static constexpr int32_t kWeaponPlaces = 2;

    SceneActor();
    ~SceneActor();
    SceneActor(const SceneActor&) = delete;
    SceneActor& operator=(const SceneActor&) = delete;

    static const char* KindName(SceneActorKind kind);
    // The first kind with the name, case ignored; None when there is none.
    static SceneActorKind FindKind(const std::string& name);

    void ResetMotion();
    void SetKindByName(const std::string& kindName);
    void SetKind(SceneActorKind newKind);
    // Applies a step's direction; none leaves the actor inactive for the step.
    void BeginStep(Scene& scene, const ActorDirection* direction);
    // One frame; true when the actor is done for this step.
    bool Update(Scene& scene, float frameTime);
    void Draw();
    void DrawShadow();

    void Explode(Scene& scene);
    void BreakIntoDebris(Scene& scene, const Vector3& push);
    void StartExplosionSmoke(float size);
    void SetWeapon(int32_t weaponKind);
    // A unit body's face shows the mood (the others have none).
    void SetFace(ActorMood mood);
    void SetFlipRate(float rate);
    // The guide speaks the line (the others ignore it).
    void Say(const std::string& speechPath);
    // The weapon models and the beam's and the smoke's materials that all actors share;
    // forgotten before the renderer lets its objects go.
    static void ForgetSharedResources();

    Matrix4 WorldTransform() const;
    // Where the cameras look: the position raised by the look height.
    Vector3 LookPoint() const { return position + Vector3(0.0f, 0.0f, lookHeight); }
    bool IsUnitBody() const { return kind <= SceneActorKind::StalkLargeVorn; }
    float MoveSpeed() const;
    float TurnRate() const;
    Speaker* GetSpeaker() { return speaker_.get(); }
    ModelNode* Model() { return model_; }
    // The model a weapon place shows, none when the body lacks the place.
    const ModelNode* WeaponModel(int32_t place) const { return weapons_[place]; }
    // The smoke systems drawn and advanced: a missile's grow to its ring, an explosion's two.
    int32_t ActiveSmoke() const { return activeSmoke_; }
    const SceneSmoke& Smoke(int32_t index) const { return *smoke_[size_t(index)]; }
    int32_t BeamFrame() const { return beamFrame_; }

    std::string name;
    SceneActorKind kind = SceneActorKind::None;
    Vector3 position;
    Vector3 fromPosition;
    Vector3 toPosition;
    Vector3 velocity;
    bool falling = false;
    float speedFactor = 1.0f;
    AxisAngle fromOrientation;
    AxisAngle toOrientation;
    Quaternion orientation;
    float fromScale = 1.0f;
    float toScale = 1.0f;
    float scale = 1.0f;
    bool flipping = false;
    float flipRate = 0.0f;
    Vector3 flipAxis{0.0f, 0.0f, 1.0f};
    float tilt[2] = {0.0f, 0.0f};
    float tiltTarget[2] = {0.0f, 0.0f};
    Spring tiltSpring;
    float lookHeight = 1.0f;
    bool active = false;
    bool permanent = false;
    bool noSpin = false;
    bool full = false;
    bool teleportIn = false;
    float teleportInSize[2] = {0.0f, 0.0f};
    bool teleportOut = false;
    float teleportOutSize[2] = {0.0f, 0.0f};
    float stepClock = 0.0f;
    float driftClock = 0.0f;
    float missileRoll = 0.0f;
    float earthSpin = 0.0f;
    Quaternion ballRoll;
    Quaternion debrisOrientation;
    // The radius a debris piece rolls with and keeps off the ground by.
    float debrisRadius = 0.0f;

private:
    void BuildModel(const char* file, bool painted, float size);
    void BuildUnitBody();
    void BuildLaserBeam();
    void ApplyDirection(Scene& scene, const ActorDirection& direction);
    void PlayAnimation(const std::string& animation, const std::string& second, bool loop);
    bool UpdateMotion(float frameTime);
    bool UpdateOrientation(float frameTime);
    bool UpdateScale(float frameTime);
    void UpdateByKind(float frameTime, const Vector3& moved);
    void UpdateUnitBody(float frameTime, const Vector3& moved);
    void UpdateMissile(float frameTime, const Vector3& moved);
    bool UpdateSoccerBall(float frameTime);
    void UpdateDebris(Scene& scene, float frameTime);
    void DrawUnitBody();
    void DrawSmoke(bool overEverything);
    void DrawLaserBeam();
    void DrawTeleport(const float size[2], float age);
    void ReleaseModel();
    void RemoveWeapons();
    static void ForgetBeamMaterials();
    float BallRadius() const;

    ModelNode* model_ = nullptr;  // owned by the renderer
    ModelNode* ballNode_ = nullptr;
    ModelNode* torsoNode_ = nullptr;
    Matrix4 ballRest_;
    Matrix4 torsoRest_;
    AnimationController animation_;
    std::unique_ptr<Speaker> speaker_;
    std::vector<std::unique_ptr<SceneSmoke>> smoke_;
    std::vector<float> emitterTimers_;
    int32_t nextEmitter_ = 0;
    int32_t activeSmoke_ = 0;
    ModelNode* weaponPlaces_[kWeaponPlaces] = {};
    ModelNode* weapons_[kWeaponPlaces] = {};  // linked under their places, owned by the renderer
    std::vector<std::unique_ptr<WormStrand>> worms_;
    std::unique_ptr<ParticleSystem> beam_;
    int32_t beamFrame_ = 0;  // the beam texture drawn next
    Vector3 travel_;         // the last frame's direction of travel
};
