// How a unit turns, walks along its path around obstacles, falls, meets other units and
// aims its shots. Every step spends the unit's tick budget.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Angles.h"
#include "core/Geometry.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"
#include "world/ObjectSpacing.h"
#include "world/TerrainType.h"
#include "world/WaterRing.h"

namespace {

// An airborne step covers half as much again of the unit's flight as the budget it uses.
constexpr float kAirStepFactor = 1.5f;
// Bounces in the air before the unit is kicked upward out of whatever holds it.
constexpr int kMaxBounces = 50;
constexpr float kStuckKick = 35.0f * kGravity * 0.05f;
// A fall ends within this height above the resting height.
constexpr float kLandingReach = 0.01f;
// Walks give up after this many nested attempts to get round an obstacle.
constexpr int kMaxMoveDepth = 2;
constexpr float kLeanPerSpeed = 0.03125f;
constexpr float kNearPoint = 0.01f;
// Detours keep this far outside an obstacle's contact distance.
constexpr float kDetourGap = 0.005f;
constexpr float kDetourLean = 0.2f;
// Contact bisection: ends this close are touching; a bounded number of halvings.
constexpr float kContactPrecision = 0.1f;
constexpr int kMaxHalvings = 32;
constexpr float kNudgeStep = 0.01f;
constexpr float kWaterRingInterval = 0.1f;
constexpr float kBallPressureLimit = 5.0f;
// Aiming: the height range of the terrain over which a height difference counts as a
// full turn, the largest errors, and the range of every shot.
constexpr float kTerrainHeightRange = 50.0f;
constexpr float kMaxAngleError = kPi / 7.0f;
constexpr float kDistanceErrorPer20 = 7.5f;
constexpr float kSelfAimDistance = 5.0f;
const float kMaxAimRange = 25.0f * std::sqrt(2.0f);

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : Game::kMinFrameTime;
}

Vector2 Ground(const Vector3& v) { return {v.x, v.y}; }

float GroundDistance(const Vector3& a, const Vector3& b) { return Ground(b - a).Length(); }

// A uniform draw in [-1, 1].
float SignedFraction() { return RandomFloatBetween(-1.0f, 1.0f); }

// The obstacle as the contact bisection tests it again and again with a sphere probe:
// the same sums as the shape's own intersection test, without its dispatch per probe.
class ProbeTarget {
public:
    explicit ProbeTarget(const CollisionShape& shape)
        : kind_(shape.kind),
          start_(shape.cylinderFirst),
          direction_(shape.cylinderSecond - shape.cylinderFirst),
          lengthSquared_(direction_.LengthSquared()),
          centre_(shape.sphereCentre),
          radius_(shape.Radius()) {}

    bool HitBy(const Vector3& centre, float radius) const {
        const float reach = radius + radius_;
        if (kind_ == CollisionShape::kSphere) {
            return (centre - centre_).LengthSquared() <= reach * reach;
        }
        if (kind_ == CollisionShape::kCylinder) {
            // The axis's closest point by the segment's own sums, with its direction and
            // squared length kept from probe to probe.
            const float t = lengthSquared_ == 0.0f
                                ? 0.0f
                                : std::clamp(direction_.Dot(centre - start_) / lengthSquared_, 0.0f, 1.0f);
            return !((start_ + direction_ * t - centre).LengthSquared() > reach * reach);
        }
        return false;
    }

private:
    int32_t kind_;
    Vector3 start_;
    Vector3 direction_;
    float lengthSquared_;
    Vector3 centre_;
    float radius_;
};

// A point in the lanes of one register, the fourth lane 0. Every lane is added and
// multiplied on its own, as the scalar sums are, so the bisection below finds the same
// points bit for bit with a third of the instructions.
using Lanes = float __attribute__((vector_size(16)));
using LaneBits = int32_t __attribute__((vector_size(16)));

Lanes ToLanes(const Vector3& v) { return Lanes{v.x, v.y, v.z, 0.0f}; }

Vector3 FromLanes(Lanes v) { return {v[0], v[1], v[2]}; }

// The squared length summed as Vector3::LengthSquared sums it: x, then y, then z.
float LengthSquared(Lanes v) {
    const Lanes squares = v * v;
    return squares[0] + squares[1] + squares[2];
}

bool SameBits(Lanes a, Lanes b) {
    const LaneBits equal = reinterpret_cast<LaneBits>(a) == reinterpret_cast<LaneBits>(b);
    return (equal[0] & equal[1] & equal[2]) != 0;
}

// ProbeTarget's test in lanes.
class LaneProbeTarget {
public:
    explicit LaneProbeTarget(const CollisionShape& shape)
        : kind_(shape.kind),
          start_(ToLanes(shape.cylinderFirst)),
          direction_(ToLanes(shape.cylinderSecond - shape.cylinderFirst)),
          lengthSquared_((shape.cylinderSecond - shape.cylinderFirst).LengthSquared()),
          centre_(ToLanes(shape.sphereCentre)),
          radius_(shape.Radius()) {}

    bool HitBy(Lanes centre, float radius) const {
        const float reach = radius + radius_;
        if (kind_ == CollisionShape::kSphere) {
            return LengthSquared(centre - centre_) <= reach * reach;
        }
        if (kind_ == CollisionShape::kCylinder) {
            float t = 0.0f;
            if (lengthSquared_ != 0.0f) {
                const Lanes products = direction_ * (centre - start_);
                t = std::clamp((products[0] + products[1] + products[2]) / lengthSquared_, 0.0f, 1.0f);
            }
            return !(LengthSquared(start_ + direction_ * t - centre) > reach * reach);
        }
        return false;
    }

private:
    int32_t kind_;
    Lanes start_;
    Lanes direction_;
    float lengthSquared_;
    Lanes centre_;
    float radius_;
};

}  // namespace

void Vorn::SetAngle(float angle) { heading = angle; }

float Vorn::WalkAngleFactor(const Vector3& start, const Vector3& end, float heading) {
    const float travel = HeadingBetween(Ground(start), Ground(end));
    return 0.6f + 0.4f * (1.0f - std::fabs(AngleDifference(heading, travel)) / kPi);
}

void Vorn::StepTurn(VornAction* action) {
    if (animationState != kAnimTurn) {
        const ChassisDefinition* row = ChassisTable::Row(chassisType);
        SetAnimationState(row != nullptr && !row->rotateAnimations.IsEmpty() ? kAnimTurn : kAnimIdle);
    }
    const float rate = TurnRate();
    const float maxTurn = timeBudget * speedFactor * rate;
    const Vector3 target = gArena->NearestImage(position, action->pointB);
    const float wanted = HeadingBetween(Ground(position), Ground(target));
    const float difference = AngleDifference(heading, wanted);
    if (std::fabs(difference) < maxTurn) {
        SetAngle(wanted);
        SpendTime(std::fabs(difference) / (rate * speedFactor));
        NextAction();
        return;
    }
    SetAngle(heading + (difference > 0.0f ? maxTurn : -maxTurn));
    SpendAllTime();
}

float Vorn::TurnWhileWalking(const Vector3& faceTarget) {
    const float rate = TurnRate();
    const float maxTurn = timeBudget * speedFactor * rate;
    const float wanted = HeadingBetween(Ground(walkEnd), Ground(faceTarget));
    const float difference = AngleDifference(heading, wanted);
    turnLeft = difference;
    if (std::fabs(difference) < maxTurn) {
        SetAngle(wanted);
        return std::fabs(difference) / rate;
    }
    SetAngle(heading + (difference > 0.0f ? maxTurn : -maxTurn));
    return timeBudget;
}

void Vorn::StepWalk(VornAction* action) {
    if (animationState != kAnimWalk) {
        SetAnimationState(kAnimWalk);
    }
    const float radius = GetRadius();
    walkStart = gArena->NearestImage(position, action->startPosition);
    gArena->PlaceAboveGround(walkStart, radius);
    walkEnd = gArena->NearestImage(position, action->pointA);
    gArena->PlaceAboveGround(walkEnd, radius);
    const Vector3 faceTarget = gArena->NearestImage(position, action->pointB);
    const float budget = timeBudget;
    const float turnTime = TurnWhileWalking(faceTarget);
    const float baseSpeed = owner != nullptr ? owner->GetChassisSpeed(chassisType) : ChassisSpeed();
    walkSpeed = baseSpeed * speedFactor * WalkAngleFactor(walkStart, walkEnd, heading);
    if (!(walkSpeed > 0.0f)) {
        // A unit that cannot walk (no chassis speed) would otherwise never spend its time.
        SpendAllTime();
        return;
    }
    const float allowed = walkSpeed * budget;
    float left = allowed;
    const Vector3 before = position;
    const Vector3 toEnd = walkEnd - position;
    if (MoveToward(Vector3(toEnd.x, toEnd.y, 0.0f), walkEnd, left, 0)) {
        bodyLean = Vector2();
        NextAction();
    }
    float spent = std::max((allowed - left) / walkSpeed, turnTime);
    // What rounding leaves of a fully used step would otherwise come back as hundreds
    // of steps too short to move.
    if (budget - spent <= kDefaultTolerance) {
        spent = budget;
    }
    if (GroundDistance(before, position) > 0.0f) {
        RollBody(position - before);
    }
    AddWaterRingsWhileWalking(budget);
    // A walk given up against an obstacle has already spent the whole budget.
    SpendTime(std::clamp(spent, 0.0f, std::max(timeBudget, 0.0f)));
}

void Vorn::AddWaterRingsWhileWalking(float budget) {
    waterRingTime += budget;
    if (waterRingTime < kWaterRingInterval) {
        return;
    }
    const float r = GetRadius();
    const Vector3 probes[5] = {position, position + Vector3(r, 0.0f, 0.0f), position + Vector3(0.0f, r, 0.0f),
                               position - Vector3(r, 0.0f, 0.0f), position - Vector3(0.0f, r, 0.0f)};
    bool wet = true;
    for (const Vector3& p : probes) {
        const int32_t type = gArena->GetTerrainType(p.x, p.y);
        wet = wet && (type == kTerrainWater || type == kTerrainSwamp);
    }
    if (wet) gArena->AddWaterRing(this, gArena->GroundPoint(position.x, position.y), r);
    float rest = std::fmod(waterRingTime, kWaterRingInterval);
    if (rest < 0.0f) {
        rest += kWaterRingInterval;
    }
    waterRingTime = rest - kWaterRingInterval;
}

bool Vorn::MoveToward(const Vector3& direction, const Vector3& destination, float& distanceLeft, int depth) {
    ++depth;
    if (depth > kMaxMoveDepth) {
        ReturnToPreviousPosition();
        distanceLeft = 0.0f;
        return true;
    }
    const Vector3 target = gArena->NearestImage(position, destination);
    const float d = GroundDistance(position, target);
    const Vector2 flat = Ground(direction);
    const float flatLength = flat.Length();
    if (d <= kNearPoint || FloatNearZero(flatLength)) {
        bodyLean = Vector2();
    } else {
        bodyLean = Vector2(flat.x / flatLength, flat.y / flatLength) * (-walkSpeed * kLeanPerSpeed);
    }
    Vector3 end = target;
    bool arrives = true;
    if (distanceLeft <= d) {
        end = position;
        if (!FloatNearZero(flatLength)) {
            end = position + Vector3(flat.x / flatLength, flat.y / flatLength, 0.0f) * distanceLeft;
        }
        gArena->PlaceAboveGround(end, GetRadius());
        arrives = false;
    }
    ContactRecord hit;
    if (gArena->MoveWithCollision(this, position, end, &hit, nullptr)) {
        distanceLeft -= GroundDistance(position, end);
        PlaceAt(end);
        return arrives;
    }
    return MoveBlocked(hit, direction, target, distanceLeft, depth);
}

bool Vorn::MoveBlocked(const ContactRecord& hit, const Vector3& direction, const Vector3& destination,
                       float& distanceLeft, int depth) {
    WorldObject* other = hit.otherObject;
    if (other == nullptr) {
        return GiveUpWalk(distanceLeft);
    }
    OnCollide(other, hit.contactPoint);
    other->OnCollide(this, hit.contactPoint);
    if (removed) {
        distanceLeft = 0.0f;
        return true;
    }
    if (other->removed) {
        return MoveToward(direction, destination, distanceLeft, depth);
    }
    ContactRecord stop = hit;
    stop.stopPosition = StopBefore(destination, *other);
    if (IsPointWithinReach(destination, *other)) {
        return SlideAround(*other, stop, distanceLeft);
    }
    return StepAroundObstacle(*other, stop, destination, distanceLeft, depth);
}

// How far along the way to `to` the unit gets before it touches the obstacle, kept the
// detour gap short of the contact.
Vector3 Vorn::StopBefore(const Vector3& to, const WorldObject& obstacle) const {
    Vector3 freeEnd = position;
    Vector3 blocked = gArena->NearestImage(position, to);
    CollisionShape other = obstacle.shape;
    other.WrapNear(position);
    // The probe is widened so that the stop stands clear of the contact tests' own
    // clearance as well.
    const float radius = GetRadius() + kContactClearance + kDetourGap;
    const LaneProbeTarget target(other);
    Lanes freeLanes = ToLanes(freeEnd);
    Lanes blockedLanes = ToLanes(blocked);
    const Lanes half = {0.5f, 0.5f, 0.5f, 0.5f};
    for (int i = 0; i < kMaxHalvings; ++i) {
        const Lanes middle = (freeLanes + blockedLanes) * half;
        // A halfway point that is one of the ends, bit for bit, leaves both ends as they
        // are from this step on: the remaining halvings would change nothing.
        const bool settled = SameBits(middle, freeLanes) || SameBits(middle, blockedLanes);
        if (target.HitBy(middle, radius)) {
            blockedLanes = middle;
        } else {
            freeLanes = middle;
        }
        if (settled) {
            break;
        }
    }
    return FromLanes(freeLanes);
}

bool Vorn::GiveUpWalk(float& distanceLeft) {
    ReturnToPreviousPosition();
    SpendAllTime();
    NudgeHeading();
    distanceLeft = 0.0f;
    return true;
}

// The walk end lies against the obstacle: the unit goes round it toward the end.
bool Vorn::SlideAround(WorldObject& obstacle, const ContactRecord& hit, float& distanceLeft) {
    const Vector3 travel = walkEnd - position;
    bool reached = false;
    const Vector3 point = SlidePoint(position, hit.stopPosition, travel, obstacle, distanceLeft, &reached);
    CollisionShape probe;
    probe.SetSphere(point, GetRadius());
    if (!gArena->FindFirstHit(this, probe, nullptr, nullptr)) {
        PlaceAt(point);
        return reached;
    }
    OnCollide(&obstacle, hit.contactPoint);
    obstacle.OnCollide(this, hit.contactPoint);
    return GiveUpWalk(distanceLeft);
}

// The walk end lies beyond the obstacle: the unit stops clear of it and goes on along
// the tangent of the obstacle on the side of the walk end.
bool Vorn::StepAroundObstacle(WorldObject& obstacle, const ContactRecord& hit, const Vector3& destination,
                              float& distanceLeft, int depth) {
    const Vector3 stop = gArena->NearestImage(position, hit.stopPosition);
    distanceLeft = std::max(0.0f, distanceLeft - GroundDistance(position, stop));
    PlaceAt(stop);
    const Vector3 centre = gArena->NearestImage(position, obstacle.position);
    Vector2 radial = Ground(position - centre);
    if (FloatNearZero(radial.Length())) {
        radial = Vector2(1.0f, 0.0f);
    }
    radial.Normalize();
    Vector2 tangent(-radial.y, radial.x);
    const Vector2 toEnd = Ground(gArena->NearestImage(position, destination) - position);
    if (tangent.x * toEnd.x + tangent.y * toEnd.y < 0.0f) {
        tangent = Vector2(-tangent.x, -tangent.y);
    }
    // Leaning the detour a little away from the obstacle keeps it clear of the contact
    // distance from the first step on, whatever the heights of the two shapes.
    tangent = tangent * std::cos(kDetourLean) + radial * std::sin(kDetourLean);
    if (distanceLeft <= 0.0f) {
        return false;
    }
    return MoveToward(Vector3(tangent.x, tangent.y, 0.0f), destination, distanceLeft, depth);
}

Vector3 Vorn::SlidePoint(const Vector3& start, const Vector3& contactPoint, const Vector3& travel,
                         const WorldObject& obstacle, float& distanceLeft, bool* reachedEnd) const {
    if (reachedEnd != nullptr) {
        *reachedEnd = false;
    }
    const Vector3 centre = gArena->NearestImage(position, obstacle.position);
    const Vector3 contact = gArena->NearestImage(position, contactPoint);
    const float radius = ContactRadiusSum(*this, obstacle);
    distanceLeft -= GroundDistance(start, contact);
    if (distanceLeft <= 0.0f || !(radius > 0.0f)) {
        distanceLeft = 0.0f;
        return contact;
    }
    const float arc = distanceLeft / radius;
    Vector2 radial = Ground(contact - centre);
    if (radial.Length() < kNearPoint) {
        radial = Ground(start - centre);
        if (radial.Length() < kNearPoint) {
            radial = Vector2(1.0f, 0.0f);
        }
    }
    const float a0 = std::atan2(radial.y, radial.x);
    const Vector3 end = gArena->NearestImage(position, walkEnd);
    const float a1 = HeadingBetween(Ground(centre), Ground(end));
    const float difference = AngleDifference(a0, a1);
    Vector3 point;
    if (std::fabs(difference) < arc) {
        point = centre + Vector3(std::cos(a1), std::sin(a1), 0.0f) * radius;
        distanceLeft -= std::fabs(difference) * radius;
        if (reachedEnd != nullptr) {
            *reachedEnd = true;
        }
    } else {
        // The short way round toward the walk end; straight ahead of the end, pass on
        // the side away from the obstacle's side of the line of travel.
        float sense = difference > 0.0f ? 1.0f : -1.0f;
        if (FloatNearZero(std::fabs(difference) - kPi)) {
            const Line2 line{Ground(start), Ground(travel)};
            sense = line.Side(Ground(centre)) > 0 ? -1.0f : 1.0f;
        }
        const float angle = a0 + sense * arc;
        point = centre + Vector3(std::cos(angle), std::sin(angle), 0.0f) * radius;
        distanceLeft = 0.0f;
        point = ContactPointToward(point, obstacle);
    }
    gArena->PlaceAboveGround(point, GetRadius());
    if (FloatNearZero(distanceLeft) || distanceLeft < 0.0f) {
        distanceLeft = 0.0f;
    }
    return point;
}

Vector3 Vorn::ContactPointToward(const Vector3& freePoint, const WorldObject& obstacle) const {
    Vector3 freeEnd = freePoint;
    Vector3 touching = gArena->NearestImage(freePoint, obstacle.position);
    if (!std::isfinite(freeEnd.x) || !std::isfinite(freeEnd.y) || !std::isfinite(touching.x) ||
        !std::isfinite(touching.y)) {
        return freePoint;
    }
    const float radius = GetRadius();
    for (int i = 0; i < kMaxHalvings && GroundDistance(freeEnd, touching) > kContactPrecision; ++i) {
        Vector3 middle = (freeEnd + touching) * 0.5f;
        gArena->PlaceAboveGround(middle, radius);
        CollisionShape other = obstacle.shape;
        other.WrapNear(middle);
        if (ProbeTarget(other).HitBy(middle, radius)) {
            touching = middle;
        } else {
            freeEnd = middle;
        }
    }
    return freeEnd;
}

void Vorn::NudgeHeading() {
    if (!FloatNearZero(turnLeft)) {
        SetAngle(heading - speedFactor * kNudgeStep * FrameTime() * TurnRate());
    }
}

bool Vorn::IsPointWithinReach(const Vector3& point, const WorldObject& other) const {
    const Vector3 p = gArena->NearestImage(position, point);
    return GroundDistance(p, gArena->NearestImage(p, other.position)) <= ContactRadiusSum(*this, other);
}

void Vorn::AirborneStep() {
    const float t = timeBudget * kAirStepFactor;
    const bool client = IsCurrentGameClient();
    if (stuckCount >= kMaxBounces && !client) {
        stuckCount = 0;
        velocity.z += kStuckKick;
    } else {
        velocity += Vector3(0.0f, 0.0f, -kGravity) * t;
    }
    Vector3 target = position + velocity * t;
    const float radius = GetRadius();
    const float ground = gArena->GetGroundHeight(target.x, target.y);
    bool landed = false;
    if (target.z <= ground + radius + kLandingReach) {
        target.z = ground + radius;
        landed = true;
        if (animationState != kAnimIdle) {
            SetAnimationState(kAnimIdle);
        }
    }
    ContactRecord hit;
    if (gArena->MoveWithCollision(this, position, target, &hit, nullptr)) {
        PlaceAt(target);
        SpendAllTime();
        if (landed) {
            if (!client) {
                PlaySound(kSoundLand, 1.0f);
            }
            stuckCount = 0;
            SetVelocity(Vector3());
        }
        return;
    }
    WrapShapeNear(hit.contactPoint);
    if (Contact(hit.otherObject, hit.contactPoint)) {
        SpendAllTime();
    } else {
        ++stuckCount;
        BounceOff(hit);
        if (bumpedThisTick != 0) {
            doneThisTick = 1;
            SpendAllTime();
        } else {
            bumpedThisTick = 1;
            if (!client) {
                PlaySound(kSoundPunch, std::min(1.0f, velocity.Length() * 0.5f));
            }
        }
    }
    WrapShapeIntoArena();
}

void Vorn::OnCollide(WorldObject* other, const Vector3& contactPoint) {
    if (Contact(other, contactPoint)) {
        SpendAllTime();
    }
}

bool Vorn::Contact(WorldObject* other, const Vector3&) {
    if (IsCurrentGameClient() || other == nullptr || other->kind != kKindVorn || other == this) {
        return false;
    }
    Vorn& unit = static_cast<Vorn&>(*other);
    if (ExplosiveContact(unit)) {
        return true;
    }
    BallPressure(unit);
    return false;
}

bool Vorn::ExplosiveContact(Vorn& other) {
    if (!onGround || !other.onGround || IsDelayed() || other.IsDelayed() || other.owner == owner) {
        return false;
    }
    Game* game = CurrentGame();
    if (game != nullptr && !game->IsWeaponAllowed(kWeaponExplosive)) {
        return false;
    }
    Weapon* explosive = nullptr;
    for (Weapon& weapon : weapons) {
        if (explosive == nullptr && weapon.kind == kWeaponExplosive && !weapon.IsOutOfAmmo()) {
            explosive = &weapon;
        }
    }
    if (explosive == nullptr) {
        return false;
    }
    explosive->ammoCount = 0;
    const float damage = owner != nullptr ? owner->GetUpgradedValue(kWeaponExplosive) : 0.0f;
    ExplosionField* blast = gArena->NewExplosion(owner, position, damage, GetUpgradeBaseValue(kWeaponExplosive),
                                                 GetRadius(), Vector3(0.0f, 0.0f, 1.0f), 0);
    gArena->AddObject(blast);
    if (game != nullptr) {
        game->OnBlastAdded(blast);
    }
    if (health > 0.0f) {
        TakeDamage(owner, position, health + 1.0f, 0);
    }
    PlaySound(kSoundBombExplosion, 1.0f);
    Remove(0);
    return true;
}

void Vorn::BallPressure(Vorn& other) {
    const float ratio = (SizeClass() * 0.5f + 1.0f) / (other.SizeClass() * 0.5f + 1.0f);
    const float frame = FrameTime();
    if (carryingBall != 0) {
        ballPressure += frame / ratio;
        if (ballPressure >= kBallPressureLimit) {
            DropBall(other.BallDropSpeed());
        }
    }
    if (other.carryingBall != 0) {
        other.ballPressure += frame * ratio;
        if (other.ballPressure >= kBallPressureLimit) {
            other.DropBall(BallDropSpeed());
        }
    }
}

Vector3 Vorn::AimWithError(const Vector3& target) const {
    const Vector3 image = gArena->NearestImage(position, target);
    const float length = GroundDistance(position, image);
    if (FloatNearZero(length)) {
        return image;
    }
    const float toward = HeadingBetween(Ground(position), Ground(image));
    const float x = std::max(
        0.0f, std::fabs(AngleDifference(heading, toward)) + 2.0f * kPi * (image.z - position.z) / kTerrainHeightRange);
    const float u1 = SignedFraction();
    const float u2 = SignedFraction();
    const float angleError = kMaxAngleError * (x / kPi) * u1;
    const float distanceError = kDistanceErrorPer20 * (length / 20.0f) * (x / kPi) * u2;
    const float distance = std::max(length + distanceError, length / 2.0f);
    const float angle = std::atan2(image.y - position.y, image.x - position.x) + angleError;
    const Vector3 aim = position + Vector3(std::cos(angle), std::sin(angle), 0.0f) * distance;
    return gArena->GroundPoint(aim.x, aim.y);
}

Vector3 Vorn::AvoidSelfAim(const Vector3& point) const {
    if (!FloatNearZero(GroundDistance(position, point))) {
        return gArena->GroundPoint(point.x, point.y);
    }
    const float angle = RandomFloatBetween(0.0f, 2.0f * kPi);
    return gArena->GroundPoint(position.x + kSelfAimDistance * std::cos(angle),
                               position.y + kSelfAimDistance * std::sin(angle));
}

Vector3 Vorn::ClampAimRange(const Vector3& point) const {
    const Vector3 image = gArena->NearestImage(position, point);
    const Vector2 offset = Ground(image - position);
    const float length = offset.Length();
    if (length <= kMaxAimRange) {
        return gArena->GroundPoint(image.x, image.y);
    }
    const Vector2 pulled = offset * (kMaxAimRange / length);
    return gArena->GroundPoint(position.x + pulled.x, position.y + pulled.y);
}

Vector3 Vorn::AimPointFor(int32_t weaponKind, const Vector3& target) const {
    switch (weaponKind) {
        case kWeaponLaser:
        case kWeaponShrapnelGun:
        case kWeaponFlamethrower: return ClampAimRange(AvoidSelfAim(AimWithError(target)));
        case kWeaponBeaconSetter: return ClampAimRange(target);
        default: return ClampAimRange(AimWithError(target));
    }
}
