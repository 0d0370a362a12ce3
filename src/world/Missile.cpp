#include "world/Missile.h"

#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"
#include "world/ScorchMark.h"

namespace {

constexpr float kProjectileHealth = 10.0f;
// The blast starts a little above the impact so that the ground does not swallow it.
constexpr float kBlastLift = 0.1f;

RendererRef<Texture> gShadowTexture;  // emptied by the renderer's release

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

Vector3 RotateAbout(const Vector3& v, const Vector3& axis, float c, float s) {
    return v * c + axis.Cross(v) * s + axis * (axis.Dot(v) * (1.0f - c));
}

}  // namespace

Matrix4 OrientationMatrix(const Vector3& position, const Vector3& direction, float angle) {
    Matrix4 turn;
    const float length = direction.Length();
    if (length > Tolerance) {
        const Vector3 d = direction * (1.0f / length);
        const Vector3 up(0.0f, 0.0f, 1.0f);
        Vector3 axis = up.Cross(d);
        const float s = axis.Length();
        const float c = d.z;
        // Straight down has no unique axis: any horizontal one turns up over.
        axis = s > Tolerance ? axis * (1.0f / s) : Vector3(1.0f, 0.0f, 0.0f);
        const Vector3 rows[3] = {RotateAbout(Vector3(1, 0, 0), axis, c, s), RotateAbout(Vector3(0, 1, 0), axis, c, s),
                                 RotateAbout(Vector3(0, 0, 1), axis, c, s)};
        for (int r = 0; r < 3; ++r) {
            turn.m[r * 4 + 0] = rows[r].x;
            turn.m[r * 4 + 1] = rows[r].y;
            turn.m[r * 4 + 2] = rows[r].z;
        }
    }
    Matrix4 result = Matrix4::Multiply(Matrix::RotationZ(angle), turn);
    result.m[12] = position.x;
    result.m[13] = position.y;
    result.m[14] = position.z;
    return result;
}

Missile::Missile() {
    kind = kKindMissile;
    launchSound = LoadEffectSound(SoundPath("MissileLaunch.ogg"));
    explosionSound = LoadEffectSound(SoundPath("MissileExplosion.ogg"));
    Reset();
}

void Missile::Reset() {
    ResetHealth(kProjectileHealth);
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    shape.SetSphere(Vector3(), kRadius);
    smokeTimer = kSmokeInterval;
    roll = 0.0f;
    owner = nullptr;
}

void Missile::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    OnPlaced();
}

void Missile::OnPlaced() {
    const Vector3 reach(0.0f, 0.0f, shape.Radius());
    ComputeShadow(position - reach, position + reach, position + reach, gShadowTexture, false);
}

const Matrix4& Missile::BuildWorldMatrix() {
    worldMatrix = OrientationMatrix(position, velocity, 0.0f);
    return worldMatrix;
}

void Missile::Update(bool paused) {
    const float dt = timeBudget * kTimeScale;
    roll += dt * kRollRate;
    if (IsEffectSoundPlaying(launchSound)) PlaceEffectSound(launchSound, position);
    if (!paused) {
        SavePreviousState();
        SetVelocity(velocity + Vector3(0.0f, 0.0f, -kGravity * dt));
        const Vector3 next = position + velocity * dt;
        ContactRecord hit;
        if (!IsCurrentGameClient() && !gArena->MoveWithCollision(this, position, next, &hit, nullptr)) {
            OnCollide(hit.otherObject, hit.contactPoint);
        } else {
            PlaceAt(next);
            if (!IsCurrentGameClient() && onGround) HitGround();
        }
    }
    EmitSmoke();
    SpendAllTime();
}

void Missile::HitGround() {
    position.z = gArena->GetGroundHeight(position.x, position.y);
    Remove(1);
    ScorchMark* scorch = gArena->AddScorchMark(position, GetUpgradeBaseValue(kWeaponMissileLauncher));
    if (Game* game = CurrentGame()) game->OnScorchMark(scorch);
}

void Missile::EmitSmoke() {
    smokeTimer -= FrameTime();
    if (smokeTimer >= 0.0f) return;
    smokeTimer += kSmokeInterval;
    const float r = shape.Radius();
    const float speed = velocity.Length();
    const Vector3 behind = speed > Tolerance ? velocity * (r / speed) : Vector3();
    gArena->AddSmokePuff(position - behind, r);
}

void Missile::OnCollide(WorldObject*, const Vector3& contactPoint) {
    if (IsCurrentGameClient()) return;
    PlaceAt(contactPoint);
    Remove(1);
}

void Missile::Remove(int explode) {
    // A missile hit twice in one step explodes once.
    if (removed) return;
    health = 0.0f;
    if (explode != 0) {
        StopEffectSound(launchSound);
        StopEffectSound(explosionSound);
        gArena->PlaySoundAtPoint(explosionSound, position, 1.0f);
        if (!IsCurrentGameClient()) {
            const float radius = GetUpgradeBaseValue(kWeaponMissileLauncher);
            ExplosionField* blast = gArena->NewExplosion(owner, position + Vector3(0.0f, 0.0f, kBlastLift),
                                                         ShotDamage(owner, kWeaponMissileLauncher), radius,
                                                         0.5f * radius, Vector3(0.0f, 0.0f, 1.0f), 0);
            gArena->AddObject(blast);
            if (Game* game = CurrentGame()) game->OnBlastAdded(blast);
        }
    }
    WorldObject::Remove(explode);
}

void Missile::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    if (gShadowTexture == nullptr) gShadowTexture = gArena->LoadSharedTexture("GenericShadow.tga");
    if (shadows[0].texture == nullptr && shadows[0].halfSize > 0.0f) shadows[0].texture = gShadowTexture;
    if (model == nullptr) model = renderer.LoadModel(ActorModelPath("Rocket"), 1.0f, 1.0f, 0);
    renderer.EnableLighting();
    renderer.SetWorldTransform(OrientationMatrix(point, velocity, roll));
    renderer.RenderModel(model, true, true);
}
