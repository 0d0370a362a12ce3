// A cut-scene figure: building by kind, taking a step's direction, and moving.
#include "scenes/SceneActor.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "audio/EffectSounds.h"
#include "engine/AssetPaths.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/WormStrand.h"
#include "platform/sys/Random.h"
#include "scenes/ActorDirection.h"
#include "scenes/Scene.h"
#include "scenes/SceneSmoke.h"
#include "scenes/Speaker.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kGravity = 9.8f;
constexpr float kBlendIn = 0.2f;
constexpr float kBlendSecond = 0.1f;
// A roll over a part smaller than this would turn by a meaningless (or infinite) angle.
constexpr float kMinRollRadius = 1e-4f;
constexpr float kEmitterInterval = 0.05f;
// A missile system gets a puff every ring turn (half a second); three outlive a puff.
constexpr int32_t kMissilePuffs = 3;
constexpr float kMissilePuffSize = 0.6f;
// Weapons are fitted to this share of the body's radius, as the battlefield's units carry them.
constexpr float kWeaponShare = 0.8f;
constexpr const char* kWeaponPlaceNames[SceneActor::kWeaponPlaces] = {"RightWeaponActor", "LeftWeaponActor"};

enum class ModelForm { None, Painted, Act };

struct KindRow {
    const char* name;
    const char* model;
    ModelForm form;
    float size;
    float moveSpeed;
    float turnRate;
};

// Unit bodies take their model, speed and turn rate from the chassis table.
const KindRow kKinds[SceneActor::kKindCount] = {
    {"RobotSmallVorn", "RobotSmall", ModelForm::Act, 0, 0, 0},
    {"RobotMediumVorn", "RobotMedium", ModelForm::Act, 0, 0, 0},
    {"RobotLargeVorn", "RobotLarge", ModelForm::Act, 0, 0, 0},
    {"StalkSmallVorn", "StalkSmall", ModelForm::Act, 0, 0, 0},
    {"StalkMediumVorn", "StalkMedium", ModelForm::Act, 0, 0, 0},
    {"StalkLargeVorn", "StalkLarge", ModelForm::Act, 0, 0, 0},
    {"Professor", nullptr, ModelForm::None, 0, 0, kPi},
    {"Missile", "Rocket", ModelForm::Painted, 2, 12, 1},
    {"Rock", "Rock", ModelForm::Painted, 4, 0, 0},
    {"PalmTree", "PalmTree", ModelForm::Painted, 8, 0, kPi},
    {"PineTree", "PineTree", ModelForm::Painted, 8, 0, kPi},
    {"OakTree", "Tree", ModelForm::Painted, 8, 0, kPi},
    {"Cactus", "TreeCactus", ModelForm::Painted, 8, 0, kPi},
    {"Earth", "Earth", ModelForm::Painted, 5, 0, 0},
    {"WormHole", nullptr, ModelForm::None, 0, 0, 0},
    {"Bunny", "Bunny", ModelForm::Act, 1, 4, kPi},
    {"Cloud", "Cloud0", ModelForm::Painted, 4, 1, kPi},
    {"LaserBeam", nullptr, ModelForm::None, 0, 20, 0},
    {"Debris", nullptr, ModelForm::None, 0, 5, 0},
    {"Explosion", nullptr, ModelForm::None, 0, 0, 0},
    {"Mountain", "Mountain", ModelForm::Painted, 1, 0, kPi},
    {"SpaceBunny", "SpaceBunny", ModelForm::Act, 1, 4, kPi},
    {"Mesa", "Mesa", ModelForm::Painted, 1, 0, kPi},
    {"Computer", "ComputerStation", ModelForm::Painted, 1, 0, kPi},
    {"SoccerBall", "SoccerBall", ModelForm::Painted, 1.5f, 2, kPi},
};

// Chassis numbers for a table that start-up has not filled (a headless run).
constexpr float kChassisSpeedBySize[3] = {8.0f, 4.0f, 2.0f};
constexpr float kChassisTurnBySize[3] = {2.0f * kPi, 1.33f * kPi, kPi};
constexpr float kTiltFollowBySize[3] = {0.1f, 0.2f, 0.3f};
constexpr const char* kRockModels[] = {"Rock", "Rock2", "Rock3", "Rock4", "Rock5", "Rock6"};

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

Quaternion ToQuaternion(const AxisAngle& orientation) {
    return Quaternion::FromAxisAngle(orientation.axis, orientation.degrees * kPi / 180.0f);
}

Vector3 UnitOrZero(const Vector3& v) {
    const float length = v.Length();
    return length > 0.0f ? v * (1.0f / length) : Vector3();
}

Vector3 RandomUnitVector() {
    for (int tries = 0; tries < 16; ++tries) {
        const Vector3 v(2.0f * RandomUnit() - 1.0f, 2.0f * RandomUnit() - 1.0f, 2.0f * RandomUnit() - 1.0f);
        const float length = v.Length();
        if (length > 0.01f && length <= 1.0f) {
            return v * (1.0f / length);
        }
    }
    return Vector3(0.0f, 0.0f, 1.0f);
}

Matrix4 RestOf(const ModelNode* node) {
    if (node == nullptr) {
        return Matrix4();
    }
    return node->source != nullptr ? node->source->local : node->local;
}

bool IsAnyOf(SceneActorKind kind, std::initializer_list<SceneActorKind> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Each weapon model fitted to each body size, loaded once: the renderer keeps one size
// per file, and the bodies differ.
const ModelNode* gWeaponSources[kWeaponKindCount][3] = {};
bool gWeaponTried[kWeaponKindCount][3] = {};

ModelNode* NewWeaponModel(int32_t weaponKind, int32_t sizeClass) {
    Renderer& renderer = GetRenderer();
    if (!gWeaponTried[weaponKind][sizeClass]) {
        gWeaponTried[weaponKind][sizeClass] = true;
        const String file = ActorModelPath(String(WeaponKindName(weaponKind)) + "Weapon");
        const float size = kWeaponShare * kChassisRadiusBySize[sizeClass];
        ModelNode* first = renderer.LoadModel(file, 1.0f, size, 1, 0, 1, 0.0f, 0.5f, 1, true, false);
        if (first != nullptr) {
            gWeaponSources[weaponKind][sizeClass] = first->source;
            renderer.RegisterModel(first);
        }
    }
    const ModelNode* source = gWeaponSources[weaponKind][sizeClass];
    ModelNode* weapon = source != nullptr ? renderer.CloneModel(source, true) : nullptr;
    if (weapon != nullptr) {
        weapon->nextSibling = nullptr;  // a reused instance keeps the link of its last use
    }
    return weapon;
}

void Unlink(ModelNode& parent, ModelNode* child) {
    for (ModelNode** link = &parent.firstChild; *link != nullptr; link = &(*link)->nextSibling) {
        if (*link == child) {
            *link = child->nextSibling;
            child->nextSibling = nullptr;
            return;
        }
    }
}

// A body goes back to the renderer for reuse with the meshes its file gave it, not
// with the face or the sockets this actor changed.
void RestoreMeshes(ModelNode& node) {
    if (node.source != nullptr) {
        node.mesh = node.source->mesh;
    }
    for (ModelNode* child = node.firstChild; child != nullptr; child = child->nextSibling) {
        RestoreMeshes(*child);
    }
}

}  // namespace

SceneActor::SceneActor() {
    tiltSpring.SetDefaults();
    ResetMotion();
}

SceneActor::~SceneActor() { ReleaseModel(); }

const char* SceneActor::KindName(SceneActorKind kind) {
    const int32_t index = int32_t(kind);
    return index >= 0 && index < kKindCount ? kKinds[index].name : "";
}

SceneActorKind SceneActor::FindKind(const std::string& kindName) {
    for (int32_t index = 0; index < kKindCount; ++index) {
        if (strcasecmp(kindName.c_str(), kKinds[index].name) == 0) {
            return SceneActorKind(index);
        }
    }
    return SceneActorKind::None;
}

void SceneActor::ResetMotion() {
    position = fromPosition = toPosition = Vector3();
    fromOrientation = toOrientation = AxisAngle();
    orientation = Quaternion();
    tilt[0] = tilt[1] = tiltTarget[0] = tiltTarget[1] = 0.0f;
    speedFactor = 1.0f;
    noSpin = permanent = false;
    fromScale = toScale = scale = 1.0f;
    velocity = Vector3();
    falling = false;
    flipping = false;
}

void SceneActor::SetKindByName(const std::string& kindName) { SetKind(FindKind(kindName)); }

void SceneActor::ForgetSharedResources() {
    for (auto& sizes : gWeaponSources) std::fill(std::begin(sizes), std::end(sizes), nullptr);
    for (auto& sizes : gWeaponTried) std::fill(std::begin(sizes), std::end(sizes), false);
    ForgetBeamMaterials();
    SceneSmoke::ForgetSharedMaterial();
}

void SceneActor::ReleaseModel() {
    Renderer& renderer = GetRenderer();
    RemoveWeapons();
    if (model_ != nullptr && renderer.HasDevice()) {
        RestoreMeshes(*model_);
        renderer.RegisterModel(model_);
    }
    model_ = ballNode_ = torsoNode_ = nullptr;
    animation_.Stop();
    speaker_.reset();
    smoke_.clear();
    emitterTimers_.clear();
    nextEmitter_ = activeSmoke_ = 0;
    worms_.clear();
    if (beam_ != nullptr && beam_->mesh != nullptr && renderer.HasDevice()) {
        renderer.DestroyParticleMesh(*beam_);
    }
    beam_.reset();
}

void SceneActor::RemoveWeapons() {
    for (int32_t place = 0; place < kWeaponPlaces; ++place) {
        ModelNode* node = weaponPlaces_[place];
        ModelNode* weapon = weapons_[place];
        weaponPlaces_[place] = weapons_[place] = nullptr;
        if (weapon == nullptr) {
            continue;
        }
        Unlink(*node, weapon);
        if (node->source != nullptr) {
            node->mesh = node->source->mesh;
        }
        if (GetRenderer().HasDevice()) {
            GetRenderer().RegisterModel(weapon);
        }
    }
}

void SceneActor::BuildModel(const char* file, bool painted, float size) {
    const String path = painted ? ActorModelPath(file) : ActorPath(file);
    const int32_t placement =
        IsAnyOf(kind, {SceneActorKind::Earth, SceneActorKind::Missile, SceneActorKind::Cloud}) ? 2 : 1;
    model_ = GetRenderer().LoadModel(path, 1.0f, size, placement);
    if (model_ != nullptr) {
        lookHeight = std::max(model_->bounds.radius, 0.0f);
    }
}

void SceneActor::SetKind(SceneActorKind newKind) {
    ResetMotion();
    ReleaseModel();
    kind = newKind;
    lookHeight = 1.0f;
    if (kind == SceneActorKind::None) {
        return;
    }
    const KindRow& row = kKinds[int32_t(kind)];
    if (IsUnitBody()) {
        BuildUnitBody();
        return;
    }
    switch (kind) {
        case SceneActorKind::Professor: {
            speaker_ = std::make_unique<Speaker>(GetEffectSounder());
            speaker_->LoadModel();
            lookHeight = speaker_->LookHeight();
            const IntRect& window = GetRenderer().GetWindowRect();
            const int32_t centreX = int32_t(float(window.right - window.left + 1) * 0.5f);
            const int32_t centreY = int32_t(float(window.bottom - window.top + 1) * 0.62f);
            speaker_->SetScreenRect(IntRect(centreX - 150, centreY - 150, centreX + 149, centreY + 149));
            return;
        }
        case SceneActorKind::Rock: {
            const int32_t pick = (sys::Rand() * 5 + sys::kRandMax / 2) / sys::kRandMax;
            BuildModel(kRockModels[std::clamp(pick, 0, 5)], true, row.size);
            return;
        }
        case SceneActorKind::WormHole:
            for (int32_t i = 0; i < kWormCount; ++i) {
                worms_.push_back(std::make_unique<WormStrand>());
                worms_.back()->angle = float(i) * 2.0f * kPi / float(kWormCount);
            }
            return;
        case SceneActorKind::LaserBeam: BuildLaserBeam(); return;
        case SceneActorKind::Missile:
            BuildModel(row.model, true, row.size);
            emitterTimers_.assign(kMissileEmitters, 0.0f);
            for (int32_t i = 0; i < kMissileEmitters; ++i) {
                smoke_.push_back(std::make_unique<SceneSmoke>(kMissilePuffs));
                smoke_.back()->puffSize = kMissilePuffSize;
            }
            return;
        default: break;
    }
    if (row.form != ModelForm::None) {
        BuildModel(row.model, row.form == ModelForm::Painted, row.size);
    }
}

void SceneActor::BuildUnitBody() {
    const int32_t chassis = int32_t(kind);
    const int32_t size = chassis % 3;
    lookHeight = kChassisRadiusBySize[size];
    model_ = GetRenderer().LoadModel(ActorPath(kKinds[chassis].model), 1.0f, 2.0f * lookHeight, 2);
    tiltSpring.Init(2.0f, 0.25f, kTiltFollowBySize[size]);
    if (model_ == nullptr) {
        return;
    }
    ballNode_ = model_->FindByName("BallActor");
    torsoNode_ = model_->FindByName("Torso");
    // A reused instance may come back posed: the rest is its source's.
    ballRest_ = RestOf(ballNode_);
    torsoRest_ = RestOf(torsoNode_);
    SetFace(ActorMood::Happy);
    SetWeapon(0);
}

void SceneActor::SetFace(ActorMood mood) {
    const ChassisDefinition* row = IsUnitBody() ? ChassisTable::Row(int32_t(kind)) : nullptr;
    if (model_ != nullptr && row != nullptr) {
        Vorn::SetFaceMood(model_, *row, int32_t(mood), 0, 0);
    }
}

void SceneActor::BuildLaserBeam() {
    beam_ = std::make_unique<ParticleSystem>();
    beam_->particles.SetSize(6);
    beam_->particleSize = 0.26f;
    lookHeight = 0.5f;
}

float SceneActor::MoveSpeed() const {
    if (!IsUnitBody()) {
        return kind == SceneActorKind::None ? 0.0f : kKinds[int32_t(kind)].moveSpeed;
    }
    const ChassisDefinition* row = ChassisTable::Row(int32_t(kind));
    return row != nullptr && row->speed > 0.0f ? row->speed : kChassisSpeedBySize[int32_t(kind) % 3];
}

float SceneActor::TurnRate() const {
    if (!IsUnitBody()) {
        return kind == SceneActorKind::None ? 0.0f : kKinds[int32_t(kind)].turnRate;
    }
    const ChassisDefinition* row = ChassisTable::Row(int32_t(kind));
    return row != nullptr && row->turnRate > 0.0f ? row->turnRate : kChassisTurnBySize[int32_t(kind) % 3];
}

void SceneActor::SetWeapon(int32_t weaponKind) {
    if (!IsUnitBody() || model_ == nullptr || !WeaponTable::IsValidKind(weaponKind)) {
        return;
    }
    RemoveWeapons();
    for (int32_t place = 0; place < kWeaponPlaces; ++place) {
        ModelNode* node = model_->FindByName(kWeaponPlaceNames[place]);
        ModelNode* weapon = node != nullptr ? NewWeaponModel(weaponKind, int32_t(kind) % 3) : nullptr;
        if (weapon == nullptr) {
            continue;
        }
        // The weapon hangs under its place, so it follows the arm's poses and breaks off
        // with the body; the place's own marker gives way to it.
        node->mesh = nullptr;
        node->LinkChild(weapon);
        weaponPlaces_[place] = node;
        weapons_[place] = weapon;
    }
}

void SceneActor::SetFlipRate(float rate) {
    flipRate = rate;
    flipping = true;
    flipAxis = RandomUnitVector();
}

void SceneActor::Say(const std::string& speechPath) {
    if (speaker_ != nullptr) {
        speaker_->Say(speechPath, false);
    }
}

void SceneActor::BeginStep(Scene& scene, const ActorDirection* direction) {
    fromPosition = toPosition = position;
    fromScale = toScale = scale;
    fromOrientation = toOrientation;
    teleportIn = teleportOut = false;
    active = direction != nullptr;
    if (direction != nullptr) {
        ApplyDirection(scene, *direction);
    }
    position = fromPosition;
    stepClock = 0.0f;
    scale = fromScale;
    orientation = ToQuaternion(fromOrientation);
}

void SceneActor::ApplyDirection(Scene& scene, const ActorDirection& d) {
    permanent = permanent || d.permanent;
    noSpin = d.noSpin;
    if (d.hasTiltPosition) {
        tilt[0] = d.tiltPosition[0];
        tilt[1] = d.tiltPosition[1];
    }
    if (d.hasFlipRate) {
        SetFlipRate(d.flipRate);
    } else {
        flipping = false;
    }
    if (d.hasFrom) fromPosition = d.from;
    falling = false;
    if (d.hasTo) {
        toPosition = d.to;
    } else if (d.hasFallTo) {
        toPosition = d.fallTo;
        falling = true;
    } else {
        toPosition = fromPosition;
    }
    if (d.hasShotVelocity) velocity = d.shotVelocity;
    if (d.hasFromAxisAngle) fromOrientation = {d.fromAxis, d.fromAngle};
    toOrientation = d.hasToAxisAngle ? AxisAngle{d.toAxis, d.toAngle} : fromOrientation;
    if (d.hasFromScale) fromScale = d.fromScale;
    toScale = d.hasToScale ? d.toScale : fromScale;
    if (d.hasAnimation) PlayAnimation(d.animation, d.animationTrack, false);
    if (d.hasAnimationLoop) PlayAnimation(d.animationLoop, d.animationLoopTrack, true);
    if (d.hasSpeed) speedFactor = d.speed;
    if (d.hasDebris) {
        position = fromPosition;
        BreakIntoDebris(scene, d.debris);
        active = false;
    }
    if (d.hasTeleportIn) {
        teleportIn = true;
        std::copy(d.teleportIn, d.teleportIn + 2, teleportInSize);
    }
    if (d.hasTeleportOut) {
        teleportOut = true;
        std::copy(d.teleportOut, d.teleportOut + 2, teleportOutSize);
    }
    // A mood word the scripts do not know leaves the face as it is.
    if (d.hasMood && d.moodValueGiven) SetFace(d.mood);
    if (d.hasWeapon) SetWeapon(d.weapon);
    if (kind == SceneActorKind::Explosion) StartExplosionSmoke(fromScale);
    if (d.full) {
        full = true;
        for (auto& worm : worms_) worm->Fill();
    }
}

void SceneActor::PlayAnimation(const std::string& animation, const std::string& second, bool loop) {
    if (kind == SceneActorKind::Professor && speaker_ != nullptr) {
        speaker_->PlayGesture(animation, second);
        return;
    }
    if (!IsUnitBody() && kind != SceneActorKind::Bunny && kind != SceneActorKind::SpaceBunny) {
        return;
    }
    const String name(animation.c_str());
    animation_.Play(model_, name, second.empty() ? name : String(second.c_str()), loop, kBlendIn, kBlendSecond, true);
}

bool SceneActor::Update(Scene& scene, float frameTime) {
    switch (kind) {
        case SceneActorKind::Debris: UpdateDebris(scene, frameTime); return false;
        case SceneActorKind::Explosion:
            for (int32_t i = 0; i < activeSmoke_; ++i) smoke_[size_t(i)]->Advance(frameTime);
            return true;
        case SceneActorKind::SoccerBall: return UpdateSoccerBall(frameTime);
        case SceneActorKind::Cloud: driftClock += frameTime; return true;
        default: break;
    }
    bool done = true;
    if (model_ != nullptr) {
        animation_.Advance(frameTime);
        done = !(animation_.IsPlaying() && !animation_.looping);
    }
    if (speaker_ != nullptr) {
        speaker_->Update(frameTime);
    }
    stepClock += frameTime;
    if (stepClock < 1.0f && (teleportIn || teleportOut)) done = false;
    const Vector3 before = position;
    done = UpdateMotion(frameTime) && done;
    done = UpdateOrientation(frameTime) && done;
    done = UpdateScale(frameTime) && done;
    UpdateByKind(frameTime, position - before);
    return done;
}

bool SceneActor::UpdateMotion(float frameTime) {
    const Vector3 unit = UnitOrZero(toPosition - fromPosition);
    if (falling) {
        velocity = velocity + unit * (kGravity * frameTime);
    } else {
        velocity = unit * (MoveSpeed() * speedFactor);
    }
    const Vector3 step = velocity * frameTime;
    if ((toPosition - position).Length() > step.Length()) {
        position = position + step;
        return false;
    }
    position = toPosition;
    return true;
}

bool SceneActor::UpdateOrientation(float frameTime) {
    if (flipping) {
        orientation =
            Quaternion::Multiply(Quaternion::FromAxisAngle(flipAxis, flipRate * frameTime), orientation).Normalized();
        return true;
    }
    const Quaternion from = ToQuaternion(fromOrientation);
    const Quaternion to = ToQuaternion(toOrientation);
    const float angle = 2.0f * std::acos(std::min(1.0f, std::fabs(from.Dot(to))));
    const float turned = TurnRate() * speedFactor * stepClock;
    if (turned < angle) {
        orientation = Quaternion::Slerp(from, to, turned / angle).Normalized();
        return false;
    }
    orientation = to;
    return true;
}

bool SceneActor::UpdateScale(float frameTime) {
    const bool bunny = kind == SceneActorKind::Bunny || kind == SceneActorKind::SpaceBunny;
    const float most = (bunny ? 4.0f / 3.0f : 1.0f / 3.0f) * frameTime;
    const float left = toScale - scale;
    if (std::fabs(left) <= most) {
        scale = toScale;
        return true;
    }
    scale += left > 0.0f ? most : -most;
    return false;
}

void SceneActor::UpdateByKind(float frameTime, const Vector3& moved) {
    if (moved.Length() > 0.0f) {
        travel_ = UnitOrZero(moved);
    }
    if (IsUnitBody()) {
        UpdateUnitBody(frameTime, moved);
        return;
    }
    switch (kind) {
        case SceneActorKind::Missile: UpdateMissile(frameTime, moved); break;
        case SceneActorKind::Earth: earthSpin = std::fmod(earthSpin + frameTime / 5.0f, 2.0f * kPi); break;
        case SceneActorKind::WormHole:
            for (auto& worm : worms_) worm->Advance(frameTime);
            break;
        default: break;
    }
}

float SceneActor::BallRadius() const {
    return ballNode_ != nullptr && ballNode_->bounds.radius > 0.0f ? ballNode_->bounds.radius : 0.0f;
}

void SceneActor::UpdateUnitBody(float frameTime, const Vector3& moved) {
    const Vector3 ground(moved.x, moved.y, 0.0f);
    const float distance = ground.Length();
    const float radius = BallRadius();
    if (!noSpin && distance > 0.0f && radius >= kMinRollRadius) {
        const Vector3 axis(-ground.y, ground.x, 0.0f);
        ballRoll = Quaternion::Multiply(ballRoll, Quaternion::FromAxisAngle(axis, distance / radius)).Normalized();
    }
    const Vector3 horizontalVelocity(velocity.x, velocity.y, 0.0f);
    Vector3 target;
    if (distance > 0.01f && horizontalVelocity.Length() > 0.01f) {
        target = ground * (1.0f / distance) * (-MoveSpeed() * speedFactor / 32.0f);
    }
    tiltTarget[0] = target.x;
    tiltTarget[1] = target.y;
    const Vector3 stepped =
        tiltSpring.Step(Vector3(tilt[0], tilt[1], 0.0f), Vector3(tiltTarget[0], tiltTarget[1], 0.0f), frameTime);
    if (std::fabs(stepped.x - tilt[0]) > 0.00001f || std::fabs(stepped.y - tilt[1]) > 0.00001f) {
        tilt[0] = std::clamp(stepped.x, -2.0f, 2.0f);
        tilt[1] = std::clamp(stepped.y, -2.0f, 2.0f);
    }
}

void SceneActor::UpdateMissile(float frameTime, const Vector3& moved) {
    missileRoll += 5.0f * frameTime;
    if (smoke_.size() != size_t(kMissileEmitters)) {
        return;
    }
    float& timer = emitterTimers_[size_t(nextEmitter_)];
    timer -= frameTime;
    if (timer < 0.0f) {
        timer += kEmitterInterval;
        const Vector3 along = UnitOrZero(moved);
        if (along.Length() > 0.0f) {
            smoke_[size_t(nextEmitter_)]->Emit(position - along, along * -1.0f);
        } else {
            smoke_[size_t(nextEmitter_)]->Emit(position, Vector3(0.0f, 0.0f, 1.0f));
        }
        nextEmitter_ = (nextEmitter_ + 1) % kMissileEmitters;
        activeSmoke_ = std::min(activeSmoke_ + 1, kMissileEmitters);
    }
    for (int32_t i = 0; i < activeSmoke_; ++i) smoke_[size_t(i)]->Advance(frameTime);
}

bool SceneActor::UpdateSoccerBall(float frameTime) {
    velocity.z = std::max(velocity.z - kGravity * frameTime, -20.0f);
    position = position + velocity * frameTime;
    if (position.z < toPosition.z) {
        position.z = toPosition.z;
        velocity.z = -0.5f * velocity.z;
        return true;
    }
    return false;
}

void SceneActor::UpdateDebris(Scene& scene, float frameTime) {
    const Vector3 horizontal(velocity.x, velocity.y, 0.0f);
    const float distance = horizontal.Length() * frameTime;
    if (horizontal.Length() > 0.00001f && debrisRadius >= kMinRollRadius) {
        const Vector3 axis(-horizontal.y, horizontal.x, 0.0f);
        debrisOrientation =
            Quaternion::Multiply(debrisOrientation, Quaternion::FromAxisAngle(axis, distance / debrisRadius))
                .Normalized();
    }
    stepClock += frameTime;
    if (stepClock <= 1.0f) {
        velocity.z -= kGravity * frameTime;
        position = position + velocity * frameTime;
        if (position.z < debrisRadius) {
            position.z = debrisRadius;
            velocity.z = -velocity.z;
        }
        return;
    }
    Explode(scene);
}

void SceneActor::Explode(Scene& scene) {
    ReleaseModel();
    name = "Explosion" + std::to_string(scene.NextPieceNumber());
    kind = SceneActorKind::Explosion;
    velocity = Vector3();
    fromPosition = toPosition = position;
    scene.DirectCurrentStep(name);
    active = true;
    StartExplosionSmoke(lookHeight);
}

void SceneActor::StartExplosionSmoke(float size) {
    smoke_.clear();
    for (int i = 0; i < 2; ++i) {
        smoke_.push_back(std::make_unique<SceneSmoke>());
        smoke_.back()->StartEmitting(position, Vector3(0.0f, 0.0f, 1.0f), std::max(size, 0.1f), kEmitterInterval);
    }
    activeSmoke_ = int32_t(smoke_.size());
}

void SceneActor::BreakIntoDebris(Scene& scene, const Vector3& push) {
    if (model_ == nullptr) {
        return;
    }
    Renderer& renderer = GetRenderer();
    Array<MeshInstance> parts;
    renderer.GetModelMeshList(model_, parts);
    const Matrix4 world = WorldTransform();
    const Vector3 along = push.Length() > 0.0f ? UnitOrZero(push) : Vector3(1.0f, 0.0f, 0.0f);
    for (const MeshInstance& part : parts) {
        SceneActor* piece = part.mesh != nullptr ? scene.AddActor() : nullptr;
        if (piece == nullptr) {
            continue;
        }
        const Matrix4 placed = Matrix4::Multiply(part.world, world);
        const float pieceScale = Vector3(placed.m[0], placed.m[1], placed.m[2]).Length();
        piece->name = "Debris" + std::to_string(scene.NextPieceNumber());
        piece->kind = SceneActorKind::Debris;
        piece->model_ = renderer.NewModelNode();
        piece->model_->mesh = part.mesh;
        piece->position = placed.GetTranslation();
        piece->scale = piece->fromScale = piece->toScale = pieceScale;
        piece->debrisOrientation = Quaternion::FromMatrix(pieceScale > 0.0f ? placed / pieceScale : placed);
        piece->debrisRadius = std::max(part.mesh->bounds.radius * pieceScale, 0.0f);
        piece->lookHeight = piece->debrisRadius;
        const float turn = (RandomUnit() - 0.5f) * 0.5f * kPi;
        const Vector3 direction = Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), turn).RotateVector(along);
        piece->velocity = direction * (2.0f + 3.0f * RandomUnit());
        scene.DirectCurrentStep(piece->name);
    }
}
