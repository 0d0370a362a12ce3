#include "world/SoccerBall.h"

#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Angles.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/AssetPaths.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/sys/Random.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/FirePuff.h"
#include "world/TerrainType.h"

namespace {

constexpr float kRestGap = 0.01f;
constexpr float kBounceGap = 0.02f;
// A landing that reflects slower than this upward stays on the ground.
constexpr float kMinBounceSpeed = 0.75f;
constexpr float kFriction = 7.0f;
constexpr float kAirFriction = 0.1f;
// Within this height a ball in the air still slows as on the ground, less the higher.
constexpr float kGroundReach = 3.0f;
constexpr float kMaxPushSpeed = 20.0f;
// How near the goal's find the ball must still be: the goal's radius and the ball's.
constexpr float kScoreReach = 2.5f + SoccerBall::kRadius;
constexpr float kReportInterval = 5.0f;
constexpr float kDropHeight = 25.0f;
constexpr int kGoalSparks = 10;
constexpr float kTiny = 0.00001f;

Game* TheGame() { return CurrentGame(); }

bool IsWet(int type) { return type == kTerrainSwamp || type == kTerrainWater; }

bool IsSoft(int type) { return type == kTerrainSand || type == kTerrainSnow; }

float Fraction() { return static_cast<float>(sys::Rand()) / 32767.0f; }

TextureHandle ShadowTexture() {
    static Arena::SharedTextureSlot slot;
    return gArena->LoadSharedTexture("SoccerBallShadow.tga", slot);
}

// The unit normal of the ground triangle around the point.
Vector3 GroundNormal(const Vector3& p) {
    const float half = std::sqrt(2.0f) / 2.0f;
    const auto ground = [](float x, float y) { return Vector3(x, y, gArena->GetGroundHeight(x, y)); };
    const Vector3 a = ground(p.x + 1.0f, p.y);
    const Vector3 b = ground(p.x, p.y + 1.0f);
    const Vector3 c = ground(p.x - half, p.y - half);
    return (b - a).Cross(c - a).Normalized();
}

}  // namespace

// What one update works with.
struct SoccerBall::Step {
    float dt = 0.0f;
    Vector3 start;
    float ground = 0.0f;
    float radius = 0.0f;
    Vector3 normal;
    float slope = 0.0f;
    float bounceFactor = 1.0f;
    float frictionFactor = 1.0f;
    float bounceVolume = 1.0f;
    Vector3 target;
    Vector3 kept;  // the velocity kept aside while the ball is in swamp or water
    bool rolled = false;
    bool readGoal = false;
    bool bounced = false;
    bool wetNow = false;
    bool ringDue = false;
};

SoccerBall::SoccerBall() {
    kind = kKindSoccerBall;
    model = GetRenderer().LoadModel(ActorModelPath("SoccerBall"), 1.0f, 1.5f, 2, 0, 1, 0.003f);
    kickSound = LoadEffectSound(SoundPath("BallKick.ogg"));
    popSound = LoadEffectSound(SoundPath("BallPop.ogg"));
    bounceSound = LoadEffectSound(SoundPath("BallBounce.ogg"));
    wetSound = LoadEffectSound(SoundPath("BallWet.ogg"));
    fireworksSound = LoadEffectSound(SoundPath("GoalFireworks.ogg"));
    Reset();
}

void SoccerBall::Reset() {
    ResetHealth(10.0f);
    heading = 0.0f;
    wet = false;
    inGoal = false;
    goalOwner = nullptr;
    drag = 1.0f;
    lastKicker = nullptr;
    orientation = Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), RandomFloatBetween(0.0f, 2.0f * kPi));
    SetVelocity(Vector3());
    ClearGridBounds();
    shape.SetSphere(Vector3(), kRadius);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

Vector3 SoccerBall::Reflect(const Vector3& v, const Vector3& n) { return v - n * (2.0f * v.Dot(n)); }

void SoccerBall::Update(bool paused) {
    if (!paused) {
        Step step;
        Advance(step);
        CheckGoal(step);
    }
    SpendAllTime();
    drag = 1.0f;
    inGoal = false;
    Game* game = TheGame();
    if (game != nullptr && game->IsNetworkServer() && lastReportTime + kReportInterval < game->clock) {
        game->OnBallUpdate(this);
    }
}

void SoccerBall::Advance(Step& step) {
    step.dt = timeBudget;
    step.start = position;
    step.ground = gArena->GetGroundHeight(position.x, position.y);
    step.radius = shape.Radius();
    step.normal = GroundNormal(position);
    step.slope = static_cast<float>(SafeAcos(step.normal.z));
    step.bounceFactor = 1.0f / drag;
    step.frictionFactor = drag;
    if (position.z > step.radius + step.ground + kRestGap) {
        Fly(step);
    } else {
        Roll(step);
    }
    if (step.wetNow) {
        SetVelocity(step.kept);
    }
    SpinAndMove(step);
    SlowDown(step);
}

void SoccerBall::Fly(Step& step) {
    const float dt = 2.0f * step.dt;
    SetVelocity(velocity + Vector3(0.0f, 0.0f, -kGravity * dt));
    step.target = step.start + velocity * dt;
    const float rest = step.radius + step.ground;
    if (step.target.z > rest + kRestGap) {
        return;
    }
    step.readGoal = inGoal;
    step.target.z = rest;
    const int type = gArena->GetTerrainType(step.target.x, step.target.y);
    if (IsWet(type)) {
        step.kept = velocity;
        SetVelocity(Vector3());
        step.wetNow = true;
        const float reach = 4.0f * step.radius;
        const Vector3& t = step.target;
        step.ringDue =
            IsWet(gArena->GetTerrainType(t.x + reach, t.y)) && IsWet(gArena->GetTerrainType(t.x - reach, t.y)) &&
            IsWet(gArena->GetTerrainType(t.x, t.y + reach)) && IsWet(gArena->GetTerrainType(t.x, t.y - reach));
    } else if (IsSoft(type)) {
        step.bounceFactor *= 0.75f;
    }
    if (velocity.z < 0.0f) {
        SetVelocity(Reflect(velocity * (0.9f * step.bounceFactor), step.normal));
        if (velocity.z > kMinBounceSpeed) {
            step.bounced = true;
            step.target.z = rest + kBounceGap;
            step.bounceVolume = std::min(velocity.Length() / 10.0f, 1.0f);
        }
    }
}

void SoccerBall::Roll(Step& step) {
    step.rolled = true;
    step.readGoal = inGoal;
    const int type = gArena->GetTerrainType(position.x, position.y);
    if (IsWet(type)) {
        step.frictionFactor *= 2.0f;
        step.kept = velocity + Vector3(RandomFloatBetween(-0.75f, 0.75f), RandomFloatBetween(-0.75f, 0.75f), 0.0f);
        SetVelocity(Vector3());
        step.wetNow = true;
    } else if (IsSoft(type)) {
        step.frictionFactor *= 2.0f;
    }
    // The downhill direction, scaled so that its drop is 1: the point under the normal's
    // tip on the plane through the origin.
    const Vector3& n = step.normal;
    Vector3 push = velocity;
    push.z = 0.0f;
    if (std::fabs(n.z) > kTiny) {
        Vector3 x(n.x, n.y, n.z - 1.0f / n.z);
        if (std::fabs(x.z) > kTiny) {
            x = x / std::fabs(x.z);
            push += x * (2.0f * kGravity * std::sin(step.slope)) * step.dt;
        }
    }
    SetVelocity(push);
    step.target = step.start + velocity * step.dt;
    step.target.z = gArena->GetGroundHeight(step.target.x, step.target.y) + step.radius;
}

void SoccerBall::SpinAndMove(Step& step) {
    const Quaternion saved = orientation;
    const Vector3 axis(velocity.y, -velocity.x, 0.0f);
    if (axis.Length() > kTiny) {
        const float angle = -(velocity.Length() * step.dt) / step.radius;
        orientation = Quaternion::Multiply(Quaternion::FromAxisAngle(axis.Normalized(), angle), orientation);
    }
    if (step.wetNow) {
        SetVelocity(Vector3());
    }
    ContactRecord contact;
    if (gArena->MoveWithCollision(this, step.start, step.target, &contact, nullptr)) {
        PlaceAt(step.target);
        if (step.ringDue) {
            gArena->AddWaterRing(nullptr, position, 4.0f * step.radius);
        } else if (step.bounced) {
            if (Game* game = TheGame()) {
                game->OnBallUpdate(this);
            }
            if (step.bounceVolume > 0.1f) {
                gArena->PlaySoundAtPoint(bounceSound, position, step.bounceVolume);
            }
        }
        if (step.wetNow && !wet) {
            gArena->PlaySoundAtPoint(wetSound, position, 1.0f);
        }
        wet = step.wetNow;
        return;
    }
    WorldObject* other = contact.otherObject;
    OnCollide(other, contact.contactPoint);
    if (other != nullptr) {
        other->OnCollide(this, contact.contactPoint);
        other->WrapShapeNear(step.start);
    }
    if (!removed) {
        BounceOff(contact);
        const float speed = velocity.Length();
        const float volume = std::min(speed / 10.0f, 1.0f);
        if (volume > 0.1f) {
            gArena->PlaySoundAtPoint(bounceSound, position, volume);
        }
        if (speed < 0.1f) {
            orientation = saved;
        }
    }
    if (other != nullptr) {
        other->WrapShapeIntoArena();
    }
    wet = false;
}

void SoccerBall::SlowDown(Step& step) {
    if (step.wetNow) {
        SetVelocity(step.kept);
    }
    float d = kAirFriction * step.dt;
    if (step.rolled) {
        d = std::cos(step.slope) * step.frictionFactor * kFriction * step.dt;
    } else if (onGround) {
        const float above = position.z - step.radius - gArena->GetGroundHeight(position.x, position.y);
        d = std::max((kGroundReach - above) / kGroundReach, 0.0f) * kFriction * step.dt;
    }
    const float speed = velocity.Length();
    const bool still =
        std::fabs(velocity.x) <= kTiny && std::fabs(velocity.y) <= kTiny && std::fabs(velocity.z) <= kTiny;
    if (speed <= d || still) {
        SetVelocity(Vector3());
        return;
    }
    SetVelocity(velocity - velocity * (d / speed));
}

void SoccerBall::CheckGoal(const Step& step) {
    if (!step.readGoal || removed || IsCurrentGameClient()) {
        return;
    }
    const Vector3 found(goalPoint.x, goalPoint.y, position.z);
    if (gArena->WrappedDistance2D(found, position) < kScoreReach) {
        ScoreGoal(goalOwner);
    }
}

void SoccerBall::OnCollide(WorldObject* other, const Vector3&) {
    if (other == nullptr || other->kind != kKindVorn || IsCurrentGameClient()) {
        return;
    }
    auto* unit = static_cast<Vorn*>(other);
    if (!unit->onGround || unit->delayTimer > 0.0f) {
        return;
    }
    unit->PickUpBall(this);
    SpendAllTime();
}

void SoccerBall::TakeDamage(Player*, const Vector3& hitPoint, float amount, int) {
    Vector3 away = position - gArena->NearestImage(position, hitPoint);
    if (away.Length() > kTiny) {
        away.Normalize();
    }
    const Vector3 push = away * (2.0f * amount);
    SetVelocity(velocity + push);
    const float speed = velocity.Length();
    if (push.z > 0.0f && speed > kMaxPushSpeed) {
        SetVelocity(velocity * (kMaxPushSpeed / speed));
    }
}

void SoccerBall::ScoreGoal(Player* owner) {
    if (gArena != nullptr) {
        gArena->ReplaceFollowedObject(this, nullptr);
    }
    if (lastKicker != nullptr) {
        if (lastKicker == owner) {
            --owner->goalCount;
        } else {
            ++lastKicker->goalCount;
        }
    }
    for (int i = 0; i < kGoalSparks; ++i) {
        EmitGoalSpark(0.1f + 0.65f * Fraction());
    }
    gArena->PlaySoundAtPoint(fireworksSound, position, 1.0f);
    if (Game* game = TheGame()) {
        game->OnGoalScored(lastKicker, owner, this);
    }
    if (IsCurrentGameClient()) {
        return;
    }
    Vector3 drop = gArena->RandomPoint();
    drop.z = gArena->GetGroundHeight(drop.x, drop.y) + kDropHeight;
    if (SoccerBall* next = gArena->SpawnSoccerBall(drop, -1)) {
        next->SetTimeBudget(timeBudget);
    }
    Remove(0);
}

void SoccerBall::EmitGoalSpark(float size) {
    FirePuff* spark = gArena->NewFirePuff();
    spark->SetStyle(FirePuff::kStyleSparks);
    const Vector3 local = model != nullptr ? model->GetRandomPoint() : Vector3();
    spark->Start(position + orientation.RotateVector(local) * scale, size, "LaserBall1.tga");
    spark->duration = 1.0f;
    spark->elapsed = 0.0f;
    gArena->AddObject(spark);
}

void SoccerBall::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    if (onGround) {
        TakeTerrainLight();
    } else {
        // Above the reach of the ground's shade the ball is lit as in full light.
        const float* material = GetSecondMaterialColor();
        for (int i = 0; i < 4; ++i) {
            litColour[0][i] = i < 3 ? 0.75f : 0.0f;
            litColour[1][i] = material[i];
        }
    }
    OnPlaced();
}

void SoccerBall::OnPlaced() {
    const Vector3 top = position + Vector3(0.0f, 0.0f, 1.0f) * (scale * 2.0f * shape.Radius());
    ComputeShadow(position, top, top, ShadowTexture(), false);
}

void SoccerBall::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    renderer.SetLight0Colors(litColour[0], litColour[1]);
    renderer.EnableLighting();
    worldMatrix.FromQuaternion(orientation);
    worldMatrix.Scale(scale);
    worldMatrix.Translate(point);
    renderer.SetWorldTransform(worldMatrix);
    if (model != nullptr) {
        renderer.RenderModel(model, true, true);
    }
    UseSceneLight();
}

void SoccerBall::Save(Stream& stream) {
    stream << "Type " << KindName(kind) << Endl;
    stream << "ID " << id << Endl;
    stream << "Position ";
    position.WriteText(stream);
    stream << Endl << "Velocity ";
    velocity.WriteText(stream);
    stream << Endl << "Quat ";
    orientation.WriteText(stream);
    stream << Endl << "End" << Endl;
}

// Scenario entries also come from peers: a value that does not read ends the entry (and
// the load reports it); a number that is not finite leaves its field as it was.
bool SoccerBall::Load(Stream& stream) {
    String word;
    while (ReadEntryKey(stream, word)) {
        if (word.EqualsNoCase("ID")) {
            int32_t value = 0;
            stream >> value;
            if (!stream.HasError()) {
                loadedId = value;
            }
        } else if (word.EqualsNoCase("Position") || word.EqualsNoCase("Velocity")) {
            const bool isPosition = word.EqualsNoCase("Position");
            Vector3 value = isPosition ? position : velocity;
            value.ReadText(stream);
            if (stream.HasError()) {
                return false;
            }
            if (isPosition) {
                PlaceAt(value);
            } else {
                SetVelocity(value);
            }
        } else if (word.EqualsNoCase("Quat")) {
            Quaternion value = orientation;
            value.ReadText(stream);
            // A quaternion of no length turns nothing into a rotation: the old one stays.
            if (!stream.HasError() && value.Length() > kTiny) {
                orientation = value.Normalized();
                heading = 0.0f;
            }
        }
    }
    return word.EqualsNoCase("End");
}
