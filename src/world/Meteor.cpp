#include "world/Meteor.h"

#include <cmath>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "world/Arena.h"
#include "world/ExplosionField.h"
#include "world/ScorchMark.h"

namespace {

constexpr const char* kImpactSounds[] = {"MeteorHit1.ogg", "MeteorHit2.ogg", "MeteorHit3.ogg"};
constexpr float kMeteorHealth = 10.0f;
constexpr int kMeteorDamageKind = 3;

RendererRef<Texture> gShadowTexture;  // emptied by the renderer's release
RendererRef<ModelNode> gModel;

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

// The rotation of angle about the axis, in the row-vector convention: each row is the
// image of a basis vector.
Matrix4 AxisRotation(const Vector3& axis, float angle) {
    Matrix4 m;
    const float length = axis.Length();
    if (!(length > Tolerance)) return m;
    const Vector3 k = axis * (1.0f / length);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const Vector3 basis[3] = {Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1)};
    for (int r = 0; r < 3; ++r) {
        const Vector3& v = basis[r];
        const Vector3 turned = v * c + k.Cross(v) * s + k * (k.Dot(v) * (1.0f - c));
        m.m[r * 4 + 0] = turned.x;
        m.m[r * 4 + 1] = turned.y;
        m.m[r * 4 + 2] = turned.z;
    }
    return m;
}

}  // namespace

Meteor::Meteor() {
    kind = kKindMeteor;
    fallingSound = LoadEffectSound(SoundPath("MeteorStart.ogg"));
    // The middle sound is twice as likely as the outer two.
    const int pick = (sys::Rand() * 2 + 16383) / sys::kRandMax;
    impactSound = LoadEffectSound(SoundPath(kImpactSounds[pick]));
    Reset();
}

void Meteor::Reset() {
    ResetHealth(kMeteorHealth);
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    shape.SetSphere(Vector3(), kRadius);
}

void Meteor::SetVelocity(const Vector3& value) {
    WorldObject::SetVelocity(value);
    const float length = value.Length();
    if (!(length > Tolerance)) return;
    fallDirection = value * (1.0f / length);
    speed = length;
}

void Meteor::Update(bool paused) {
    spinAngle += spinRate * timeBudget;
    if (!paused) {
        SavePreviousState();
        PlaceAt(position + fallDirection * (speed * FrameTime()));
        if (IsEffectSoundPlaying(fallingSound)) {
            PlaceEffectSound(fallingSound, position);
            gArena->PositionSound(GetEffectSound(fallingSound), true);
        }
        if (onGround) {
            position.z = gArena->GetGroundHeight(position.x, position.y);
            Remove(1);
        }
    }
    SpendAllTime();
}

void Meteor::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    if (position.z - gArena->GetGroundHeight(position.x, position.y) < kShadowHeight) {
        OnPlaced();
    } else {
        shadows[0] = ShadowDecal();
    }
}

void Meteor::OnPlaced() {
    const Vector3 reach(0.0f, 0.0f, scale * shape.Radius());
    ComputeShadow(position - reach, position + reach, position + reach, gShadowTexture, false);
}

const Matrix4& Meteor::BuildWorldMatrix() {
    worldMatrix = AxisRotation(spinAxis, spinAngle);
    worldMatrix.Translate(position);
    return worldMatrix;
}

void Meteor::Remove(int explode) {
    // A meteor ends once, whatever else tells it to.
    if (removed) return;
    if (explode != 0) {
        gArena->PlaySoundAtPoint(impactSound, position, 1.0f);
        if (!IsCurrentGameClient()) {
            const float r = shape.Radius();
            const float reach = r * kBlastReach * scale;
            ExplosionField* blast = gArena->NewExplosion(nullptr, position, damage, reach, scale * r,
                                                         Vector3(0.0f, 0.0f, 1.0f), kMeteorDamageKind);
            ScorchMark* scorch = gArena->AddScorchMark(position, reach);
            gArena->AddObject(blast);
            if (Game* game = CurrentGame()) {
                game->OnScorchMark(scorch);
                game->OnBlastAdded(blast);
            }
        }
    }
    WorldObject::Remove(explode);
}

void Meteor::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    if (gShadowTexture == nullptr) gShadowTexture = gArena->LoadSharedTexture("GenericShadow.tga");
    if (shadows[0].texture == nullptr && shadows[0].halfSize > 0.0f) shadows[0].texture = gShadowTexture;
    if (gModel == nullptr) gModel = renderer.LoadModel(ActorModelPath("Meteor"), 1.0f, 1.0f, 0);
    Matrix4 world = AxisRotation(spinAxis, spinAngle);
    world.Scale(scale);
    world.Translate(point);
    renderer.EnableLighting();
    renderer.SetWorldTransform(world);
    renderer.RenderModel(gModel, true, true);
    renderer.DisableLighting();
}
