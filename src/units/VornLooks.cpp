// What the behaviour needs of the unit's looks (body, mood, animation state, sway and
// sounds) and the carried ball. Drawing the body, the face and the icons is left to the
// looks; these keep the state that the behaviour reads and sets.
#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "engine/ModelNode.h"
#include "game/Game.h"
#include "game/Player.h"
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

// A uniform draw in [-1, 1].
float SignedFraction() { return RandomFloatBetween(-1.0f, 1.0f); }

}  // namespace

void Vorn::Draw(const Vector3&) {}

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

void Vorn::OnPlaced() {}

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
    bodyModel = row->bodyModel;
    ballNode = bodyModel != nullptr ? bodyModel->FindByName("BallActor") : nullptr;
    torsoNode = bodyModel != nullptr ? bodyModel->FindByName("Torso") : nullptr;
    roll = Quaternion();
    shape.SetSphere(position, row->scale);
    ComputeCost();
    for (int place = 0; place < kWeaponPlaces; ++place) {
        SetWeaponModel(place, weapons[place].kind);
    }
    mouthVariant = RandomPick(row->mouths.Count());
    eyeVariant = RandomPick(row->leftEyes.Count());
    const int walk = RandomPick(row->walkAnimations.Count());
    animationName = walk >= 0 ? String(row->walkAnimations[walk]) : String("Walk");
    SetAnimationState(kAnimIdle);
}

void Vorn::SetMood(int32_t newMood, float seconds) {
    mood = newMood;
    moodTimer = seconds;
}

void Vorn::SetWeaponModel(int32_t place, int32_t /*weaponKind*/) {
    if (place < 0 || place >= kWeaponPlaces || bodyModel == nullptr) {
        return;
    }
    // The node shows the kind's model once the looks draw weapons.
    weaponPlaceNodes[place] = bodyModel->FindByName(place == 0 ? "RightWeaponActor" : "LeftWeaponActor");
}

void Vorn::SetAnimationState(int32_t state) {
    animationState = state;
    animationPlaying = 0;
}

void Vorn::UpdateAnimation() {
    if (animationState != kAnimIdle && animationState != kAnimVictoryWaiting && animationState != kAnimDefeatWaiting) {
        return;
    }
    idleAnimationDelay -= CurrentGame() != nullptr ? CurrentGame()->frameTime : 0.0f;
    if (idleAnimationDelay <= 0.0f) {
        PickIdleDelay();
    }
}

void Vorn::PickIdleDelay() {
    const bool endPose = animationState == kAnimVictoryWaiting || animationState == kAnimDefeatWaiting ||
                         animationState == kAnimSimpleVictoryWaiting;
    idleAnimationDelay = endPose ? RandomFloatBetween(1.0f, 4.0f) : RandomFloatBetween(3.0f, 12.0f);
}

void Vorn::AimWeaponPlace(const Weapon&, bool, const Vector3&) {}

void Vorn::UpdateBodyAndBall() {}

void Vorn::StepBodySway() {
    bodySway.followFactor = kSwayFollowBySize[SizeClass()];
    const Game* game = CurrentGame();
    const float frameTime = game != nullptr ? game->frameTime : 0.0f;
    const Vector3 next = bodySway.Step(swayVector, Vector3(bodyLean.x, bodyLean.y, 0.0f), frameTime);
    swayVector = Vector3(std::clamp(next.x, -kMaxSway, kMaxSway), std::clamp(next.y, -kMaxSway, kMaxSway), 0.0f);
}

void Vorn::RollBody(const Vector3&) {}

void Vorn::PlaySound(int which, float volume) {
    if (which >= 0 && which < kSoundCount) {
        PlayEffectSound(sounds[which], volume, 0);
    }
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
    // Listed before scoring: the scored ball leaves the arena by its removal flag.
    gArena->AddObject(ball);
    FollowWith(this, ball);
    SetHasBall(false);
    ball->ScoreGoal(static_cast<Goal*>(goal)->owner);
}

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
    PlaySound(kickSound ? kSoundBallHead : kSoundLand, 1.0f);
    FollowWith(this, ball);
}
