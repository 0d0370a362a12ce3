#include "world/FieldGenerator.h"

#include <cmath>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "engine/AssetPaths.h"
#include "engine/DynamicMesh.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Player.h"
#include "units/WeaponTable.h"
#include "world/GooField.h"
#include "world/HealthField.h"
#include "world/StaticField.h"

namespace {

constexpr float kSpinRateA = 5.0f;
constexpr float kSpinRateB = 4.0f;
// Half the wedge's width: 7.5 degrees either side of its sweep angle.
constexpr float kWedgeHalfAngle = kPi / 24.0f;
constexpr uint8_t kWedgeAlpha = 96;

RendererRef<Texture> gShadowTexture;  // emptied by the renderer's release
bool gShadowLoaded = false;

const char* ModelName(int32_t kind) {
    switch (kind) {
        case kWeaponStaticFieldGenerator: return "StaticFieldGenerator";
        case kWeaponGooFieldGenerator: return "GooFieldGenerator";
        case kWeaponHealthFieldGenerator: return "HealthFieldGenerator";
        default: return nullptr;
    }
}

Color WedgeColour(int32_t kind) {
    switch (kind) {
        case kWeaponStaticFieldGenerator: return Color::FromRGBA(0, 255, 255, kWedgeAlpha);
        case kWeaponGooFieldGenerator: return Color::FromRGBA(0, 255, 0, kWedgeAlpha);
        default: return Color::FromRGBA(255, 0, 0, kWedgeAlpha);
    }
}

// A health field's amount and duration come from the owner's upgrades; a generator
// without an owner uses the weapon table's values.
float HealAmount(const Player* owner) {
    if (owner != nullptr) return owner->GetUpgradedValue(kWeaponHealthFieldGenerator);
    const WeaponDefinition* row = WeaponTable::Row(kWeaponHealthFieldGenerator);
    return row != nullptr ? row->damage : 0.0f;
}

float HealDuration(const Player* owner) {
    if (owner != nullptr) return owner->GetWeaponDuration(kWeaponHealthFieldGenerator);
    const WeaponDefinition* row = WeaponTable::Row(kWeaponHealthFieldGenerator);
    return row != nullptr ? row->duration : 0.0f;
}

}  // namespace

FieldGenerator::FieldGenerator() {
    kind = kKindFieldGenerator;
    sound = LoadEffectSound(SoundPath("LaunchField.ogg"));
    Reset();
}

FieldGenerator::~FieldGenerator() {
    ForgetField();
    // Pooled generators are remade on every take; the wedge goes with its generator.
    if (wedge != nullptr) GetRenderer().DestroyDynamicMesh(wedge);
}

void FieldGenerator::Reset() {
    spinA = 0.0f;
    spinB = 0.0f;
    owner = nullptr;
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    ResetHealth(kHealth);
    shape.SetSphere(Vector3(), kRadius);
    ForgetField();
}

void FieldGenerator::SetWeaponKind(int32_t value) {
    weaponKind = value;
    const char* name = ModelName(value);
    model = name != nullptr ? GetRenderer().LoadModel(ActorModelPath(name), 1.0f, 1.0f, 0) : nullptr;
}

float FieldGenerator::ThrowDistance() const { return landingPoint.Distance(launchPoint) / kSpeed; }

void FieldGenerator::OpenField() {
    const float radius = GetUpgradeBaseValue(weaponKind);
    Field* opened = nullptr;
    if (weaponKind == kWeaponStaticFieldGenerator) {
        StaticField* fieldOfStatic = gArena->NewStaticField();
        fieldOfStatic->Start(landingPoint, radius);
        opened = fieldOfStatic;
    } else if (weaponKind == kWeaponGooFieldGenerator) {
        GooField* goo = gArena->NewGooField();
        goo->Start(landingPoint, radius);
        opened = goo;
    } else if (weaponKind == kWeaponHealthFieldGenerator) {
        HealthField* health = gArena->NewHealthField();
        health->Start(landingPoint, radius, HealAmount(owner), HealDuration(owner));
        opened = health;
    }
    if (opened == nullptr) return;
    gArena->AddObject(opened);
    ForgetField();
    field = opened;
    gArena->RegisterRemovalListener(this);
}

void FieldGenerator::ForgetField() {
    if (field == nullptr) return;
    field = nullptr;
    if (gArena != nullptr) gArena->UnregisterRemovalListener(this);
}

void FieldGenerator::OnObjectRemoved(WorldObject& object) {
    if (&object == field) ForgetField();
}

void FieldGenerator::Update(bool paused) {
    const float budget = timeBudget;
    spinA += budget * kSpinRateA;
    spinB += budget * kSpinRateB;
    if (!paused && state == kStateFlying) Fly(budget);
    if (!paused && state == kStateLanded) {
        lifeTimer -= budget;
        if (lifeTimer <= 0.0f) Remove(0);
    }
    SpendAllTime();
}

void FieldGenerator::Fly(float budget) {
    // Both ends seen from the launch point: a throw across the arena's edge flies the
    // short way round.
    const Vector3 target = gArena->NearestImage(launchPoint, landingPoint);
    const Vector3 current = gArena->NearestImage(launchPoint, position);
    const Vector3 d = target - current;
    if (!d.IsNearZero()) {
        const Vector3 step = d.Normalized() * (kSpeed * budget);
        if (step.Length() < d.Length()) {
            PlaceAt(position + step);
            return;
        }
    }
    PlaceAt(landingPoint);
    state = kStateLanded;
    OpenField();
}

void FieldGenerator::PlaceAt(const Vector3& point) {
    // The ground under the landing point may have been edited since the throw.
    landingPoint.z = gArena->GetGroundHeight(landingPoint.x, landingPoint.y) + kHover;
    WorldObject::PlaceAt(point);
    OnPlaced();
}

void FieldGenerator::OnPlaced() {
    if (!gShadowLoaded) {
        gShadowTexture = gArena->LoadSharedTexture("GenericShadow.tga");
        gShadowLoaded = true;
    }
    const Vector3 reach(0.0f, 0.0f, shape.Radius());
    ComputeShadow(position - reach, position + reach, position + reach, gShadowTexture, false);
}

void FieldGenerator::Remove(int flag) {
    health = 0.0f;
    if (field != nullptr) {
        field->Remove(0);
        ForgetField();
    }
    WorldObject::Remove(flag);
}

Matrix4 FieldGenerator::OrientationAt(const Vector3& point, float angle) const {
    Vector3 ground = gArena->NearestImage(point, landingPoint);
    ground.z = gArena->GetGroundHeight(ground.x, ground.y);
    const Vector3 up = point - ground;
    Matrix4 m = Matrix::RotationZ(angle);
    if (!up.IsNearZero()) {
        m = Matrix4::Multiply(m, Quaternion::FromTwoVectors(Vector3(0.0f, 0.0f, 1.0f), up.Normalized()).ToMatrix());
    }
    m[12] = point.x;
    m[13] = point.y;
    m[14] = point.z;
    return m;
}

const Matrix4& FieldGenerator::BuildWorldMatrix() {
    worldMatrix = OrientationAt(position, spinA);
    return worldMatrix;
}

void FieldGenerator::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    renderer.SetWorldTransform(OrientationAt(point, spinA));
    if (model != nullptr) renderer.RenderModel(model, true, true);
    if (state == kStateLanded) DrawWedge(point);
}

void FieldGenerator::DrawWedge(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    if (wedge == nullptr) {
        wedge = renderer.CreateDynamicMesh(3, 3, 1);
        wedge->hasColors = 1;
        for (int k = 0; k < 3; ++k) wedge->AddPosition(Vector3());
        for (int k = 0; k < 3; ++k) {
            MeshVertex vertex;
            vertex.position = &wedge->positions[k];
            vertex.normal = Vector3(0.0f, 0.0f, 1.0f);
            wedge->AddVertex(vertex);
        }
        MeshFace face;
        for (int k = 0; k < 3; ++k) face.corners[k] = &wedge->vertices[k];
        wedge->AddFace(face);
        renderer.CreateDynamicMeshBuffers(wedge);
    }
    const float radius = GetUpgradeBaseValue(weaponKind);
    wedge->positions[0] = point;
    for (int side = 0; side < 2; ++side) {
        const float a = spinB + (side == 0 ? -kWedgeHalfAngle : kWedgeHalfAngle);
        Vector3 rim = point + Vector3(std::cos(a), std::sin(a), 0.0f) * radius;
        rim.z = gArena->GetGroundHeight(rim.x, rim.y);
        wedge->positions[1 + side] = rim;
    }
    const Color colour = WedgeColour(weaponKind);
    for (MeshVertex& vertex : wedge->vertices) vertex.color = colour;
    renderer.SetLighting(false);
    renderer.SetAlphaBlend();
    renderer.SetWorldTransform(Matrix4());
    renderer.UpdateDynamicMeshBuffers(wedge);
    renderer.RenderDynamicMesh(wedge);
    renderer.SetBlendOff();
    renderer.SetLighting(true);
}
