#include "world/Debris.h"

#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "engine/SceneLighting.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"

namespace {

constexpr float kMinSpeed = 5.0f;
constexpr float kSpeedRange = 5.0f;
// The shadow stands for an upright body a little shorter than the part's sphere.
constexpr float kShadowReach = 0.8f;
// A clank at this speed or faster plays at full volume.
constexpr float kFullVolumeSpeed = 10.0f;

// Loaded at the first placing, not at construction: the pools make every debris at
// start-up, before the arena can look for the file.
RendererRef<Texture> gShadowTexture;  // emptied by the renderer's release
bool gShadowLoaded = false;

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

}  // namespace

Debris::Debris() {
    kind = kKindDebris;
    punchSound = LoadEffectSound(SoundPath("Punch.ogg"));
    Reset();
}

void Debris::Reset() {
    if (model != nullptr) {
        GetRenderer().RegisterModel(model);
        model = nullptr;
    }
    ClearGridBounds();
    ResetHealth(1.0f);
    shape.SetSphere(Vector3(), 1.0f);
    life = kLife;
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void Debris::Start(Player* partOwner, ModelNode* part, const Matrix4& partMatrix, const Vector3& sourcePoint,
                   float budget) {
    model = part;
    part->local.SetIdentity();
    partScale = Vector3(partMatrix[0], partMatrix[1], partMatrix[2]).Length();
    // The spawner skips degenerate parts; one that still comes keeps its own rotation.
    orientation = partScale > Tolerance ? Quaternion::FromMatrix(partMatrix / partScale) : Quaternion();
    const Vector3 centre = partMatrix.GetTranslation();
    shape.SetSphere(centre, ModelRadius() * partScale);

    Vector3 direction = gArena->NearestImage(sourcePoint, centre) - sourcePoint;
    if (direction.IsNearZero()) direction = Vector3(0.0f, 0.0f, 1.0f);
    const float turn = RandomFloatBetween(-kPi / 4.0f, kPi / 4.0f);
    direction = TransformPoint(Matrix::RotationZ(turn), direction).Normalized();
    SetVelocity(direction * (kMinSpeed + kSpeedRange * RandomFloatBetween(0.0f, 1.0f)));
    SetTimeBudget(budget);
    PlaceAt(centre);
    owner = partOwner;
}

float Debris::ModelRadius() const { return model != nullptr ? std::max(model->bounds.radius, 0.0f) : 0.0f; }

void Debris::Tumble(float dt) {
    const Vector3 ground(velocity.x, velocity.y, 0.0f);
    const float radius = ModelRadius();
    // A part without size has no rolling angle: it keeps its orientation.
    if (ground.IsNearZero() || radius <= Tolerance) return;
    const Vector3 axis(-ground.y, ground.x, 0.0f);
    const float angle = velocity.Length() * dt / radius;
    orientation = Quaternion::Multiply(Quaternion::FromAxisAngle(axis, angle), orientation);
}

void Debris::Update(bool paused) {
    const float dt = FrameTime();
    Tumble(dt);
    if (!paused) Fly(dt);
    SpendAllTime();
}

void Debris::Fly(float dt) {
    life -= dt;
    if (life <= 0.0f) {
        Remove(1);
        return;
    }
    SetVelocity(velocity + Vector3(0.0f, 0.0f, -kGravity) * dt);
    Vector3 target = position + velocity * dt;
    const float r = shape.Radius();
    const float ground = gArena->GetGroundHeight(target.x, target.y);
    bool bounced = false;
    if (target.z <= r + ground) {
        target.z = r + ground;
        SetVelocity(Vector3(velocity.x, velocity.y, -velocity.z));
        bounced = true;
    }
    ContactRecord hit;
    if (gArena->MoveWithCollision(this, position, target, &hit, nullptr)) {
        PlaceAt(target);
    } else {
        WorldObject* other = hit.otherObject;
        if (other != nullptr) other->WrapShapeNear(previousPosition);
        BounceOff(hit);
        if (other != nullptr) other->WrapShapeIntoArena();
        bounced = true;
    }
    SpendAllTime();
    if (bounced) PlayPunch(std::min(velocity.Length() / kFullVolumeSpeed, 1.0f));
}

void Debris::PlayPunch(float volume) { gArena->PlaySoundAtPoint(punchSound, position, volume); }

void Debris::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    TakeTerrainLight();
    OnPlaced();
}

void Debris::OnPlaced() {
    if (!gShadowLoaded) {
        gShadowTexture = gArena->LoadSharedTexture("GenericShadow.tga");
        gShadowLoaded = true;
    }
    const Vector3 reach(0.0f, 0.0f, kShadowReach * shape.Radius());
    ComputeShadow(position - reach, position + reach, position + reach, gShadowTexture, false);
}

Matrix4 Debris::PartMatrix(const Vector3& point) const {
    Matrix4 m = orientation.ToMatrix();
    m.Scale(partScale);
    m[12] = point.x;
    m[13] = point.y;
    m[14] = point.z;
    return m;
}

const Matrix4& Debris::BuildWorldMatrix() {
    worldMatrix = PartMatrix(position);
    return worldMatrix;
}

void Debris::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    if (model == nullptr) return;
    renderer.SetLight0Colors(litColour[0], litColour[1]);
    renderer.SetLighting(true);
    if (owner != nullptr) owner->ApplyColors();
    renderer.SetWorldTransform(PartMatrix(point));
    renderer.RenderModel(model, true, true);
    UseSceneLight();
}

void Debris::Remove(int flag) {
    if (flag != 0) {
        // The last bounce ends in a puff that hurts nobody.
        ExplosionField* puff = gArena->NewExplosionField();
        puff->Start(&GetLocalPlayer(), position, 0.0f, shape.Radius(), 0.0f, Vector3(0.0f, 0.0f, 1.0f), 0);
        gArena->AddObject(puff);
    }
    WorldObject::Remove(flag);
}
