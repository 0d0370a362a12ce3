// The unit's looks: its own copy of the chassis body with face and weapons, the
// animation states, the body sway, the aiming arm, the roll of a ball-shaped body and
// the carried ball; and the ball's hand-overs between the unit and the arena.
#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/MeshBatch.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Goal.h"
#include "world/SoccerBall.h"

namespace {

constexpr float kBallRadius = 0.75f;
constexpr float kBallDropSpeed = 7.0f;
constexpr float kBallDropBySize[3] = {1.0f, 1.1f, 1.25f};
// The carried ball rests this far above the collision sphere.
constexpr float kCarriedBallLift = 0.825f;
constexpr float kGivenBallLift = 0.375f;
constexpr float kKickApex = 1.5f;
// The sway never leans the body further than this in either ground axis.
constexpr float kMaxSway = 2.0f;
constexpr float kSwayFollowBySize[3] = {0.1f, 0.2f, 0.3f};
constexpr float kAnimationBlend = 0.5f;
constexpr float kAnimationSecond = 0.1f;
// An arm keeps its aim this long after the shot.
constexpr float kAimSeconds = 0.6f;

// A uniform draw in [-1, 1].
float SignedFraction() { return RandomFloatBetween(-1.0f, 1.0f); }

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

// The body's painted meshes that have copies drawn from the family's atlas take them,
// so that all those parts show one texture.
void UseAtlasMeshes(ModelNode* node, const ChassisDefinition& row) {
    if (node == nullptr) return;
    const int found = node->mesh != nullptr ? row.atlasSources.Find(node->mesh) : -1;
    if (found >= 0 && row.atlasMeshes[found] != nullptr) node->mesh = row.atlasMeshes[found];
    for (ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) UseAtlasMeshes(child, row);
}

void ShowPart(ModelNode* body, const char* nodeName, const MoodSet& set, int32_t mood) {
    ModelNode* node = body->FindByName(nodeName);
    if (node == nullptr || mood < 0 || mood >= set.count || set.parts[mood].mesh == nullptr) return;
    node->mesh = set.parts[mood].mesh;
}

void ShowEye(ModelNode* body, const char* nodeName, const Array<FacePart>& eyes, int32_t eye) {
    ModelNode* node = body->FindByName(nodeName);
    if (node == nullptr || eye < 0 || eye >= eyes.Count() || eyes[eye].mesh == nullptr) return;
    node->mesh = eyes[eye].mesh;
}

const Array<const char*>* AnimationList(const ChassisDefinition& row, int32_t playingState) {
    switch (playingState) {
        case Vorn::kAnimVictoryPlaying: return &row.victoryAnimations;
        case Vorn::kAnimDefeatPlaying: return &row.defeatAnimations;
        case Vorn::kAnimIdlePlaying: return &row.idleAnimations;
        case Vorn::kAnimSimpleVictoryPlaying: return &row.simpleVictoryAnimations;
        default: return nullptr;
    }
}

const char* TrackOfPlayingState(int32_t playingState) {
    switch (playingState) {
        case Vorn::kAnimVictoryPlaying: return "Victory";
        case Vorn::kAnimDefeatPlaying: return "Defeat";
        case Vorn::kAnimSimpleVictoryPlaying: return "SimpleVictory";
        default: return "Idle";
    }
}

bool IsWaitingState(int32_t state) {
    return state == Vorn::kAnimVictoryWaiting || state == Vorn::kAnimDefeatWaiting || state == Vorn::kAnimIdle ||
           state == Vorn::kAnimSimpleVictoryWaiting;
}

bool IsPlayingState(int32_t state) {
    return state == Vorn::kAnimVictoryPlaying || state == Vorn::kAnimDefeatPlaying || state == Vorn::kAnimIdlePlaying ||
           state == Vorn::kAnimSimpleVictoryPlaying;
}

}  // namespace

void Vorn::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    if (onGround) {
        TakeTerrainLight();
    } else {
        bodySway.Reset();
        swayVector = Vector3();
    }
    OnPlaced();
}

void Vorn::OnPlaced() {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (row == nullptr || row->shadowTexture == nullptr || gArena == nullptr) return;
    const float radius = GetRadius();
    shadows[0].texture = row->shadowTexture;
    shadows[0].centre = Vector2(position.x + 0.2f * swayVector.x, position.y + 0.2f * swayVector.y);
    shadows[0].halfSize = radius;
    shadows[0].angle = heading;
}

float Vorn::ChassisSpeed() const {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    return row != nullptr ? row->speed : 0.0f;
}

void Vorn::BuildBody(int32_t chassis) {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (row == nullptr) {
        return;
    }
    chassisType = chassis;
    weaponPlaceCount = std::clamp(row->weaponPlaces, 1, kWeaponPlaces);
    ReleaseBody();
    if (row->bodyModel != nullptr) bodyInstance = GetRenderer().CloneModel(row->bodyModel, true);
    UseAtlasMeshes(bodyInstance, *row);
    bodyModel = bodyInstance;
    ballNode = bodyModel != nullptr ? bodyModel->FindByName("BallActor") : nullptr;
    torsoNode = bodyModel != nullptr ? bodyModel->FindByName("Torso") : nullptr;
    rollRadius = ballNode != nullptr && ballNode->bounds.radius > 0.0f ? ballNode->bounds.radius : 0.0f;
    roll = Quaternion();
    shape.SetSphere(position, row->scale);
    ComputeCost();
    for (int place = 0; place < kWeaponPlaces; ++place) {
        SetWeaponModel(place, weapons[place].kind);
    }
    mouthVariant = RandomPick(row->mouths.Count());
    eyeVariant = RandomPick(row->leftEyes.Count());
    SetFaceMood(bodyModel, *row, mood, mouthVariant, eyeVariant);
    const int walk = RandomPick(row->walkAnimations.Count());
    animationName = walk >= 0 ? String(row->walkAnimations[walk]) : String("Walk");
    SetAnimationState(kAnimIdle);
}

void Vorn::ReleaseBody() {
    bodyAnimation.Stop();
    bodyBatch.reset();
    if (bodyInstance != nullptr) GetRenderer().RegisterModel(bodyInstance);
    bodyInstance = nullptr;
    bodyModel = nullptr;
    ballNode = nullptr;
    torsoNode = nullptr;
    for (RendererRef<ModelNode>& node : weaponPlaceNodes) node = nullptr;
}

void Vorn::SetFaceMood(ModelNode* body, const ChassisDefinition& chassis, int32_t newMood, int32_t mouth, int32_t eye) {
    if (body == nullptr) return;
    if (mouth >= 0 && mouth < chassis.mouths.Count()) ShowPart(body, "MouthActor", chassis.mouths[mouth], newMood);
    ShowEye(body, "LeftEyeActor", chassis.leftEyes, eye);
    ShowEye(body, "RightEyeActor", chassis.rightEyes, eye);
    ShowPart(body, "LeftEyebrowActor", chassis.leftBrow, newMood);
    ShowPart(body, "MiddleEyebrowActor", chassis.middleBrow, newMood);
    ShowPart(body, "RightEyebrowActor", chassis.rightBrow, newMood);
}

void Vorn::SetMood(int32_t newMood, float seconds) {
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (newMood != mood && row != nullptr) SetFaceMood(bodyModel, *row, newMood, mouthVariant, eyeVariant);
    mood = newMood;
    moodTimer = seconds;
}

void Vorn::SetWeaponModel(int32_t place, int32_t weaponKind) {
    if (place < 0 || place >= kWeaponPlaces || bodyModel == nullptr) {
        return;
    }
    weaponPlaceNodes[place] = bodyModel->FindByName(place == 0 ? "RightWeaponActor" : "LeftWeaponActor");
    if (weaponPlaceNodes[place] == nullptr) return;
    // A place the chassis does not use shows nothing.
    weaponPlaceNodes[place]->mesh =
        place < weaponPlaceCount ? WeaponMesh(weaponKind, ChassisTable::SizeClass(chassisType)) : nullptr;
}

void Vorn::PlayAnimation(const String& animation, const char* track, bool looping) {
    bodyAnimation.Play(bodyModel, animation, track, looping, kAnimationBlend, kAnimationSecond, true);
}

void Vorn::SetAnimationState(int32_t state) {
    animationState = state;
    animationPlaying = 0;
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    if (state == kAnimNone || bodyModel == nullptr || row == nullptr) {
        bodyAnimation.Stop();
        return;
    }
    if (IsWaitingState(state)) {
        PlayAnimation("Idle", "Idle", true);
        return;
    }
    if (state == kAnimWalk) {
        PlayAnimation(animationName, "Walk", true);
        return;
    }
    if (state == kAnimTurn) {
        const int pick = RandomPick(row->rotateAnimations.Count());
        if (pick >= 0) PlayAnimation(row->rotateAnimations[pick], "Rotate", true);
        return;
    }
    const Array<const char*>* list = AnimationList(*row, state);
    const int pick = list != nullptr ? RandomPick(list->Count()) : -1;
    if (pick < 0) return;
    PlayAnimation((*list)[pick], TrackOfPlayingState(state), false);
    animationPlaying = bodyAnimation.IsPlaying() ? 1 : 0;
}

void Vorn::UpdateAnimation() {
    StepEndPoseSound();
    if (IsPlayingState(animationState)) {
        // A one-shot animation that has ended goes back to its waiting state.
        if (!bodyAnimation.IsPlaying()) {
            SetAnimationState(animationState - 1);
            PickIdleDelay();
        }
        return;
    }
    if (!IsWaitingState(animationState)) {
        return;
    }
    idleAnimationDelay -= FrameTime();
    if (idleAnimationDelay > 0.0f) {
        return;
    }
    PickIdleDelay();
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    const Array<const char*>* list = row != nullptr ? AnimationList(*row, animationState + 1) : nullptr;
    if (list != nullptr && !list->IsEmpty()) SetAnimationState(animationState + 1);
}

void Vorn::PickIdleDelay() {
    const bool endPose = animationState == kAnimVictoryWaiting || animationState == kAnimDefeatWaiting ||
                         animationState == kAnimSimpleVictoryWaiting;
    idleAnimationDelay = endPose ? RandomFloatBetween(1.0f, 4.0f) : RandomFloatBetween(3.0f, 12.0f);
}

void Vorn::StepEndPoseSound() {
    if (endPoseSet == 0 || owner == nullptr || owner->won == 0) return;
    const int32_t sound = sounds[owner == &GetOpponentPlayer() ? kSoundLaugh : kSoundCheer];
    if (endPoseSoundPlaying != 0 && IsEffectSoundPlaying(sound)) return;
    endPoseSoundPlaying = 0;
    endPoseSoundTimer -= FrameTime();
    if (endPoseSoundTimer > 0.0f) return;
    endPoseSoundTimer = RandomFloatBetween(1.0f, 5.0f);
    PlayEffectSound(sound, 1.0f, 0);
    endPoseSoundPlaying = 1;
}

void Vorn::AimWeaponPlace(const Weapon& weapon, bool aimHigh, const Vector3& aimPoint) {
    for (int place = 0; place < kWeaponPlaces; ++place) {
        if (&weapons[place] != &weapon) continue;
        aimPlace = place;
        aimTarget = aimPoint;
        aimingHigh = aimHigh || weapon.kind == kWeaponKicker ? 1 : 0;
        aimTimer = kAimSeconds;
        PoseAimingArm();
    }
}

void Vorn::PoseAimingArm() {
    if (aimPlace < 0 || aimTimer <= 0.0f || bodyModel == nullptr) return;
    ModelNode* arm = bodyModel->FindByName(aimPlace == 0 ? "RightArm" : "LeftArm");
    const int animation = bodyModel->FindAnimation(aimingHigh != 0 ? "AimHigh" : "Aim");
    if (arm == nullptr || animation < 0) return;
    const PoseAnimation& poses = bodyModel->Animations()[animation];
    float reach = 0.0f;
    for (const PoseKey& key : poses.keys) reach = std::max(reach, key.position.Length());
    // The aim point in the unit's frame, at the distance of the poses' own points.
    Vector3 toward = gArena != nullptr ? gArena->NearestImage(position, aimTarget) - position : aimTarget - position;
    const float c = std::cos(-heading), s = std::sin(-heading);
    Vector3 local(c * toward.x - s * toward.y, s * toward.x + c * toward.y, toward.z);
    if (local.IsNearZero()) local = Vector3(1.0f, 0.0f, 0.0f);
    local.Normalize();
    bodyModel->ApplyPartPose(animation, local * reach, arm);
}

void Vorn::UpdateBodyAndBall() {
    const float frame = FrameTime();
    if (bodyModel != nullptr && (bodyAnimation.IsPlaying() || aimTimer > 0.0f)) {
        bodyAnimation.Advance(animationSpeed * frame * speedFactor);
        if (aimTimer > 0.0f) {
            aimTimer -= frame;
            PoseAimingArm();
        }
    }
    if (carryingBall != 0) StepCarriedBall(frame);
}

void Vorn::StepCarriedBall(float seconds) {
    const Vector2 before = ballOffset;
    ballBounceSpeed -= kGravity * seconds;
    ballHeight += ballBounceSpeed * seconds;
    ballOffset = ballOffset + Vector2(ballDrift.x, ballDrift.y) * seconds;
    ballOffset = Vector2(std::clamp(ballOffset.x, -kGivenBallLift, kGivenBallLift),
                         std::clamp(ballOffset.y, -kGivenBallLift, kGivenBallLift));
    const Vector2 travel = ballOffset - before;
    ballSpin.x += travel.y / kBallRadius;
    ballSpin.y -= travel.x / kBallRadius;
    const float headTop = GetRadius();
    if (ballHeight >= headTop + kGivenBallLift) return;
    // The height over the head can be below zero after a long frame.
    const float over = ballHeight - headTop;
    ballHeight = headTop + kGivenBallLift;
    ballDrift = Vector3(SignedFraction() * kGivenBallLift, SignedFraction() * kGivenBallLift, 0.0f);
    ballBounceSpeed = 2.0f * std::sqrt(std::max(0.0f, over)) * kGravity;
    PlaySound(kSoundBallHead, 1.0f);
}

void Vorn::StepBodySway() {
    bodySway.followFactor = kSwayFollowBySize[SizeClass()];
    const Vector3 next = bodySway.Step(swayVector, Vector3(bodyLean.x, bodyLean.y, 0.0f), FrameTime());
    swayVector = Vector3(std::clamp(next.x, -kMaxSway, kMaxSway), std::clamp(next.y, -kMaxSway, kMaxSway), 0.0f);
}

Quaternion Vorn::RollQuaternion(const Vector3& displacement, float radius) {
    const Vector3 ground(displacement.x, displacement.y, 0.0f);
    const float distance = ground.Length();
    if (radius <= 0.0f || distance <= 0.0f) return Quaternion();
    // Rolling along d turns about up x d.
    return Quaternion::FromAxisAngle(Vector3(-ground.y, ground.x, 0.0f), distance / radius);
}

void Vorn::RollBody(const Vector3& displacement) {
    if (rollRadius <= 0.0f) return;
    roll = Quaternion::Multiply(RollQuaternion(displacement, rollRadius), roll);
}

void Vorn::PlaySound(int which, float volume) {
    if (which < 0 || which >= kSoundCount) return;
    // A unit's sounds are world sounds, heard from where it stands.
    if (gArena == nullptr) {
        PlayEffectSound(sounds[which], volume, 0);
        return;
    }
    gArena->PlaySoundAtPoint(sounds[which], position, volume);
}

// The ball.

void Vorn::SetHasBall(bool on) {
    conditionals[kHasBall] = on ? 1 : 0;
    carryingBall = on ? 1 : 0;
}

float Vorn::BallDropSpeed() const { return kBallDropSpeed * kBallDropBySize[SizeClass()]; }

Vector3 Vorn::CarriedBallPosition() const {
    const float height = std::max(ballHeight, GetRadius() + kCarriedBallLift);
    return position + Vector3(ballOffset.x, ballOffset.y, height);
}

void Vorn::FollowWith(WorldObject* from, WorldObject* to) {
    if (gArena != nullptr) {
        gArena->ReplaceFollowedObject(from, to);
    }
}

void Vorn::PickUpBall(SoccerBall* ball) {
    if (ball == nullptr) {
        return;
    }
    if (!IsCurrentGameClient()) {
        ball->Remove(0);
    }
    if (carryingBall != 0) {
        DropBall(BallDropSpeed());
    }
    FollowWith(ball, this);
    SetHasBall(true);
    ballCreditPlayer = ball->lastKicker;
    ballCreditTicks = 2;
    ballOffset = Vector2();
    ballHeight = GetRadius() + kGivenBallLift;
    Game* game = CurrentGame();
    if (game != nullptr && !IsCurrentGameClient()) {
        game->OnBallPickedUp(this, ball, CurrentTime());
    }
}

void Vorn::GiveBall() {
    SetHasBall(true);
    ballCreditPlayer = nullptr;
    ballCreditTicks = 0;
    ballSpin = Vector3(0.0f, 0.0f, SignedFraction());
    ballOffset = Vector2();
    ballHeight = GetRadius() + kGivenBallLift;
    ballDrift = Vector3(SignedFraction() * kGivenBallLift, SignedFraction() * kGivenBallLift, 0.0f);
    ballBounceSpeed = 2.0f * std::sqrt(ballHeight) * kGravity;
}

void Vorn::DropBall(float speed) {
    if (carryingBall == 0) {
        return;
    }
    SoccerBall* ball = gArena->NewSoccerBall();
    ball->PlaceAt(CarriedBallPosition());
    gArena->ResolvePlacementOverlap(ball, 1.0f);
    Vector3 horizontal(SignedFraction(), SignedFraction(), 0.0f);
    const float length = std::sqrt(horizontal.x * horizontal.x + horizontal.y * horizontal.y);
    if (!FloatNearZero(length)) {
        horizontal = horizontal * (1.0f / length);
    }
    Vector3 direction(horizontal.x, horizontal.y, 2.0f * kBallRadius);
    direction.Normalize();
    PutBallInPlay(ball, owner, ball->position, direction * (2.0f * speed), false);
    SetHasBall(false);
}

void Vorn::KickCarriedBall(const Vector3& target) {
    if (carryingBall == 0) {
        return;
    }
    SoccerBall* ball = gArena->NewSoccerBall();
    ball->PlaceAt(CarriedBallPosition());
    gArena->ResolvePlacementOverlap(ball, 1.0f);
    const Vector3 start = ball->position;
    const Vector3 end = gArena->NearestImage(start, target);
    const float top = std::max(start.z, end.z) + kKickApex;
    const float up = std::sqrt(2.0f * kGravity * (top - start.z));
    // Rising to the top and falling from it to the target's height.
    const float flight = up / kGravity + std::sqrt(2.0f * (top - end.z) / kGravity);
    Vector3 velocity((end.x - start.x) / flight, (end.y - start.y) / flight, up);
    ball->orientation = CarriedBallOrientation();
    PutBallInPlay(ball, owner, start, velocity, true);
    ballPressure = 0.0f;
    SetHasBall(false);
}

void Vorn::ScoreCarriedBall(WorldObject* goal) {
    if (carryingBall == 0 || goal == nullptr || goal->kind != kKindGoal) {
        return;
    }
    SoccerBall* ball = gArena->NewSoccerBall();
    ball->lastKicker = ballCreditPlayer != nullptr ? ballCreditPlayer : owner;
    ball->PlaceAt(CarriedBallPosition());
    ball->orientation = CarriedBallOrientation();
    // Listed before scoring: the scored ball leaves the arena by its removal flag.
    gArena->AddObject(ball);
    FollowWith(this, ball);
    SetHasBall(false);
    ball->ScoreGoal(static_cast<Goal*>(goal)->owner);
}

// The carried ball turns by its spin vector's length about that vector's axis.
Quaternion Vorn::CarriedBallOrientation() const { return Quaternion::FromAxisAngle(ballSpin, ballSpin.Length()); }

void Vorn::PutBallInPlay(SoccerBall* ball, Player* credited, const Vector3& point, const Vector3& speed,
                         bool kickSound) {
    ball->heading = 0.0f;
    ball->lastKicker = credited;
    ball->PlaceAt(point);
    gArena->ResolvePlacementOverlap(ball, 1.0f);
    ball->SetVelocity(speed);
    gArena->AddObject(ball);
    if (Game* game = CurrentGame()) {
        game->OnBallPutInPlay(this, ball, CurrentTime());
    }
    ball->SavePreviousState();
    const Game* game = CurrentGame();
    ball->Update(game != nullptr && game->IsSimulationPaused());
    gArena->PlaySoundAtPoint(kickSound ? ball->kickSound : ball->popSound, ball->position, 1.0f);
    FollowWith(this, ball);
}
