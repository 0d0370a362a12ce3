#include "world/SolarCharger.h"

#include <cmath>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "core/Stream.h"
#include "engine/AssetPaths.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "game/Game.h"
#include "world/Arena.h"
#include "world/ExplosionField.h"
#include "world/FirePuff.h"
#include "world/Rock.h"
#include "world/ScorchMark.h"

namespace {

constexpr float kBlastDamage = 50.0f;
constexpr float kBlastRadius = 10.0f;
constexpr float kScorchSize = 10.0f;
// Damage lights smoke i (1 to 9) below 10 (1 - (i + 1) / 11) health; a burst shows ten.
constexpr int kSmokeSteps = 10;
// The rings stream three spacings a second and turn half a turn a second.
constexpr float kRingRate = 3.0f;
constexpr float kRingSpin = kPi;
// The panels turn through their keyed animation at half speed.
constexpr float kAnimationRate = 0.5f;

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

float WrapInto(float value, float size) {
    const float wrapped = FloatMod(value, size);
    return wrapped < 0.0f ? wrapped + size : wrapped;
}

TextureHandle ShadowTexture() {
    static Arena::SharedTextureSlot slot;
    return gArena->LoadSharedTexture("SolarChargerShadow.tga", slot);
}

// Reused by every charger's update so that a tick allocates nothing once warm.
Array<WorldObject*>& Scratch() {
    static Array<WorldObject*> objects;
    return objects;
}

}  // namespace

SolarCharger::SolarCharger() {
    kind = kKindSolarCharger;
    model = GetRenderer().LoadModel(ActorPath("SolarCharger"), 1.0f, 2.5f, 0);
    burstSound = LoadEffectSound(SoundPath("SolarChargerExplosion.ogg"));
    smokeSound = LoadEffectSound(SoundPath("Smoke.ogg"));
    ringModel = GetRenderer().LoadModel(ActorModelPath("Ring"), 1.0f, 1.0f, 0);
    SetShape(kCylinderRadius);
    Reset();
    rotation.Play(model, "SlowRotate", "Rotate", true, 0.0f, 0.0f, true);
}

void SolarCharger::Reset() {
    ResetHealth(kHealth);
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
    targets.Clear();
    targetRadii.Clear();
    smokes.Forget();
    StopEffectSound(smokeSound);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void SolarCharger::SetDefaults() {
    ResetHealth(kHealth);
    deathTimer = 0.0f;
}

void SolarCharger::SetShape(float radius) {
    shape.SetCylinder(position, position + Vector3(0.0f, 0.0f, kHeight), radius);
}

void SolarCharger::AddTarget(const Vector3& point, float radius) {
    targets.Append(point);
    targetRadii.Append(radius);
}

void SolarCharger::Update(bool paused) {
    targets.Clear();
    targetRadii.Clear();
    const float frame = FrameTime();
    ringAngle = WrapInto(ringAngle + kRingSpin * frame, 2.0f * kPi);
    ringPhase = WrapInto(ringPhase + kRingRate * frame, 1.0f);
    rotation.Advance(frame * kAnimationRate);
    if (!paused && active) {
        // Healing reports to the game, which must not start a walk: collect, then heal.
        Array<WorldObject*>& found = Scratch();
        found.Clear();
        gArena->CollectBodiesInCells(chargingBounds, found);
        for (int i = 0; i < found.Count(); ++i) {
            WorldObject* object = found[i];
            if (object->kind != kKindVorn || !object->onGround || object->removed ||
                !(gArena->WrappedDistance2D(position, object->position) < kChargeRange)) {
                continue;
            }
            if (!IsCurrentGameClient()) {
                object->Heal(kChargeRate * frame);
            }
            // Every peer draws the rings.
            AddTarget(object->position, object->shape.Radius());
        }
        found.Clear();
        if (deathTimer > 0.0f) {
            UpdateDeathTimer();
        }
    }
    if (smokes.Count() > 0 && IsEffectSoundPlaying(smokeSound)) {
        PlaceEffectSound(smokeSound, position);
        if (Sound* sound = GetEffectSound(smokeSound)) {
            gArena->PositionSound(sound, true);
        }
    }
    SpendAllTime();
}

void SolarCharger::UpdateDeathTimer() {
    deathTimer -= FrameTime();
    if (deathTimer > 0.0f) {
        return;
    }
    WorldObject::TakeDamage(pendingAttacker, pendingHitPoint, pendingDamage, 0);
    if (!IsCurrentGameClient()) {
        Remove(1);
    }
}

void SolarCharger::TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) {
    // A charger that is going (a pending hit, or its own blast) takes nothing more.
    if (deathTimer > 0.0f || removed) {
        return;
    }
    if (amount >= health) {
        pendingDamage = amount;
        pendingAttacker = attacker;
        pendingHitPoint = hitPoint;
        deathTimer = kDeathDelay;
        return;
    }
    WorldObject::TakeDamage(attacker, hitPoint, amount, flag);
    float volume = 0.0f;
    for (int i = 0; i < kSmokeSteps; ++i) {
        const float threshold = kHealth * (1.0f - static_cast<float>(i + 1) / 11.0f);
        if (i > smokes.Count() && health < threshold) {
            AddSmoke((static_cast<float>(i) / 9.0f) * 0.9f + 0.3f);
            volume = 1.0f - (health / kHealth) * 0.35f;
        }
    }
    if (volume <= 0.0f) {
        return;
    }
    PlaceEffectSound(smokeSound, position);
    Sound* sound = GetEffectSound(smokeSound);
    if (sound != nullptr && IsEffectSoundPlaying(smokeSound)) {
        sound->SetVolumeFactor(volume);
        gArena->PositionSound(sound, true);
    } else {
        gArena->PlaySoundAt(smokeSound, volume, 0);
    }
}

void SolarCharger::Remove(int explode) {
    if (removed) {
        return;
    }
    StopEffectSound(smokeSound);
    if (explode != 0) {
        Game* game = CurrentGame();
        if (!IsCurrentGameClient()) {
            ExplosionField* blast = gArena->NewExplosionField();
            blast->Start(lastAttacker, position, kBlastDamage, kBlastRadius, kCylinderRadius, Vector3(0.0f, 0.0f, 1.0f),
                         0);
            blast->SavePreviousState();
            gArena->AddObject(blast);
            ScorchMark* scorch = gArena->AddScorchMark(position, kScorchSize);
            if (game != nullptr) {
                game->OnBlastAdded(blast);
                game->OnScorchMark(scorch);
            }
        }
        StopEffectSound(burstSound);
        gArena->PlaySoundAtPoint(burstSound, position, 1.0f);
        for (int i = 0; i < kSmokeSteps; ++i) {
            if (i >= smokes.Count()) {
                AddSmoke((static_cast<float>(i) / 9.0f) * 0.9f + 0.3f);
            }
        }
    }
    smokes.BurnOut();
    WorldObject::Remove(explode);
}

void SolarCharger::AddSmoke(float size) {
    FirePuff* puff = gArena->NewFirePuff();
    puff->SetStyle(FirePuff::kStyleSmoke);
    const Vector3 local = model != nullptr ? model->GetRandomPoint() : Vector3();
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    const Vector3 turned(local.x * c - local.y * s, local.x * s + local.y * c, local.z);
    puff->Start(position + turned * scale, size, "WhiteBall.tga");
    gArena->AddObject(puff);
    smokes.Add(puff);
}

void SolarCharger::RotateSmokes(float angle) { smokes.Rotate(position, angle); }

void SolarCharger::PlaceAt(const Vector3& point) {
    const Vector3 old = position;
    WorldObject::PlaceAt(point);
    TakeTerrainLight();
    SetShape(shape.Radius());
    chargingBounds = gArena->BoundsOfCircle(position, kChargeRange);
    OnPlaced();
    smokes.MoveBy(position - gArena->NearestImage(position, old));
}

void SolarCharger::FaceDirection(const Vector3&) { facingAngle = 0.0f; }

void SolarCharger::OnPlaced() {
    const Vector3 top = position + Vector3(0.0f, 0.0f, kHeight);
    ComputeShadow(position, top, top, ShadowTexture(), false);
}

void SolarCharger::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    renderer.SetLight0Colors(litColour[0], litColour[1]);
    renderer.EnableLighting();
    DrawModelAt(point);
    renderer.DisableLighting();
    DrawRings(point + Vector3(0.0f, 0.0f, shape.Radius()));
    UseSceneLight();
    renderer.EnableLighting();
}

void SolarCharger::DrawRings(const Vector3& top) {
    if (ringModel == nullptr) {
        return;
    }
    const Vector3 axis(1.0f, 0.0f, 0.0f);
    const Quaternion spin = Quaternion::FromAxisAngle(axis, ringAngle);
    for (int k = 0; k < targets.Count(); ++k) {
        const Vector3 from = gArena->NearestImage(top, targets[k]);
        const Vector3 toTop = top - from;
        const float length = toTop.Length();
        const int n = TruncateToInt(length);
        const Vector3 dir = toTop.IsNearZero() ? axis : toTop.Normalized();
        const Quaternion turn = Quaternion::Multiply(Quaternion::FromTwoVectors(axis, dir), spin);
        for (int j = 0; j < n; ++j) {
            const float t = (static_cast<float>(j) + ringPhase) / static_cast<float>(n);
            Matrix4 matrix;
            matrix.FromQuaternion(turn);
            matrix.Scale(targetRadii[k] * t);
            matrix.Translate(from + dir * (t * length));
            GetRenderer().SetWorldTransform(matrix);
            GetRenderer().RenderModel(ringModel, true, true);
        }
    }
}

void SolarCharger::Save(Stream& stream) {
    stream << "Type " << KindName(kind) << Endl;
    stream << "\tID " << id << Endl;
    stream << "\tPosition ";
    position.WriteText(stream);
    stream << Endl;
    stream << "\tAngle " << heading << Endl;
    stream << "\tHealth " << health << Endl;
    stream << "\tMaxHealth " << maxHealth << Endl;
    stream << "End" << Endl;
}

bool SolarCharger::Load(Stream& stream) { return Rock::LoadText(*this, stream, false); }
