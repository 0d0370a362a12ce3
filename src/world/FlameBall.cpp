#include "world/FlameBall.h"

#include "core/MathUtil.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"

namespace {

constexpr float kProjectileHealth = 10.0f;
constexpr float kStartRadius = 1.0f;
// The radius grows from this at the muzzle by kRadiusGrowth over the full range.
constexpr float kMinRadius = 0.15f;
constexpr float kRadiusGrowth = 0.85f;
constexpr Color kGlowColour = Color::FromRGBA(128, 48, 16, 255);
constexpr int kFlameDamageKind = 2;

// Made at the first drawing: the pools build every ball at start-up, and a simulation
// that never draws needs no texture files. The renderer's release empties them.
RendererRef<Material> gMaterials[FlameBall::kFrameCount];

Material* FrameMaterial(int frame) {
    if (gMaterials[frame] == nullptr) {
        gMaterials[frame] = GetRenderer().CreateMaterial();
        if (TextureHandle texture = gArena->LoadSharedTexture("WhiteBall.tga")) {
            gMaterials[frame]->stages.Append(TextureStageSettings(texture));
        }
    }
    return gMaterials[frame];
}

// The flamethrower's damage over a whole flight, raised by the owner's upgrades.
float FlameDamage(const Player* owner) {
    if (owner != nullptr) return owner->GetUpgradedValue(kWeaponFlamethrower);
    const WeaponDefinition* row = WeaponTable::Row(kWeaponFlamethrower);
    return row != nullptr ? row->damage : 0.0f;
}

float RadiusAt(float flightTime) { return (flightTime / FlameBall::kMaxFlightTime) * kRadiusGrowth + kMinRadius; }

}  // namespace

FlameBall::FlameBall() {
    kind = kKindFlameBall;
    glow.particles.Append(Particle());
    glow.usesParticleSizes = true;
    glow.usesParticleColours = true;
    Reset();
}

FlameBall::~FlameBall() {
    // The pools remake an object on every take: its quad goes with it.
    if (glow.mesh != nullptr) GetRenderer().DestroyParticleMesh(glow);
}

void FlameBall::Reset() {
    ResetHealth(kProjectileHealth);
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    shape.SetSphere(Vector3(), kStartRadius);
    glow.SetColor(kGlowColour);
    glow.particles[0].size = 2.0f * kStartRadius;
}

void FlameBall::SetRadius(float r) {
    shape.SetSphere(shape.Centre(), r);
    glow.particles[0].size = 2.0f * r;
}

bool FlameBall::FixDirection() {
    direction = gArena->NearestImage(start, target) - start;
    if (direction.Length() <= Tolerance) direction = GetHeadingVector();
    const float length = direction.Length();
    // A heading that is no number gives no direction either.
    if (!(length > Tolerance)) return false;
    direction = direction * (1.0f / length);
    return true;
}

void FlameBall::Update(bool paused) {
    if (paused) {
        SpendAllTime();
        return;
    }
    SavePreviousState();
    if (!started) {
        start = position;
        if (!FixDirection()) {
            // Aimed at its own spot with no heading: it goes out where it is.
            Remove(0);
            SpendAllTime();
            return;
        }
        started = true;
    }
    const float budget = timeBudget;
    clock += budget;
    const float burnTime = stopped == 0 ? Fly(budget) : 0.0f;
    if (stopped == 1 && clock > kLingerTime) Remove(0);
    if (burnTime > 0.0f) {
        gArena->SweepDamage(owner, this, (burnTime / kMaxFlightTime) * FlameDamage(owner), kFlameDamageKind);
    }
    SpendAllTime();
}

float FlameBall::Fly(float budget) {
    const float flightTime = range / kSpeed;
    if (clock < flightTime) {
        glow.SetColor(kGlowColour);
        SetRadius(RadiusAt(clock));
        const Vector3 next = start + direction * (kSpeed * clock);
        ContactRecord hit;
        if (!gArena->MoveWithCollision(this, position, next, &hit, nullptr)) {
            PlaceAt(hit.stopPosition);
            stopped = 1;
            clock -= flightTime;
            return position.Distance(gArena->NearestImage(position, previousPosition)) / kSpeed;
        }
        PlaceAt(next);
        return budget;
    }
    SetRadius(RadiusAt(flightTime));
    PlaceAt(start + direction * range);
    stopped = 1;
    const float burnTime = flightTime - (clock - budget);
    clock -= flightTime;
    return burnTime;
}

void FlameBall::Remove(int explode) {
    health = 0.0f;
    WorldObject::Remove(explode);
}

void FlameBall::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    glow.material = FrameMaterial(frame);
    renderer.SetAdditiveBlend();
    renderer.DrawParticles(glow);
    renderer.SetBlendOff();
    frame = (frame + 1) % kFrameCount;
    glow.material = FrameMaterial(frame);
}
