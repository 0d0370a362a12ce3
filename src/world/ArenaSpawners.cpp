// The spawners of shots, effects, marks, balls and debris: each takes the object from its
// pool, hands it its starting values through the object's own set-up and starts its
// sound. Shots are added by their weapons; effects, marks, balls and debris are added
// here.
#include <algorithm>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Debris.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/Missile.h"
#include "world/ScorchMark.h"
#include "world/Shrapnel.h"
#include "world/SmokePuff.h"
#include "world/SoccerBall.h"
#include "world/WaterRing.h"

namespace {

constexpr float kFieldGeneratorRadius = 0.5f;
// A thrown generator hovers this high above the ground while its field lasts.
constexpr float kGeneratorHover = 8.0f;
constexpr float kProjectileHealth = 10.0f;
// A new ball settles in steps of this length.
constexpr float kSettleStep = 1.0f;

// The radius of the part's mesh, computed when the mesh has none yet.
float PartRadius(const Mesh& mesh) {
    if (!mesh.bounds.IsEmpty()) return mesh.bounds.radius;
    return Sphere::FromPoints(std::span<const Vector3>(mesh.positions.begin(), mesh.positions.end())).radius;
}

}  // namespace

LaserBeam* Arena::AddLaserBeam(Player* owner, const Vector3& start, float heading, const Color& colour) {
    auto* beam = static_cast<LaserBeam*>(NewObjectOfKind(kKindLaserBeam));
    beam->owner = owner;
    beam->start = start;
    beam->target = start;
    beam->heading = heading;
    beam->PlaceAt(start);
    beam->SetParticleColor(colour);
    beam->SavePreviousState();
    PlaySoundAtPoint(beam->sound, start, 1.0f);
    return beam;
}

Missile* Arena::AddMissile(Player* owner, const Vector3& start, const Vector3& velocity, float heading,
                           const Vector3& target) {
    auto* missile = static_cast<Missile*>(NewObjectOfKind(kKindMissile));
    missile->heading = heading;
    missile->owner = owner;
    missile->target = target;
    missile->PlaceAt(start);
    missile->SetVelocity(velocity);
    missile->SavePreviousState();
    StopEffectSound(missile->launchSound);
    PlaySoundAtPoint(missile->launchSound, start, 1.0f);
    return missile;
}

Shrapnel* Arena::NewShrapnel(Vorn* shooter, const Vector3& start, float heading, std::span<const Vector3> targets) {
    auto* burst = static_cast<Shrapnel*>(NewObjectOfKind(kKindShrapnel));
    Shrapnel::WatchShooters(*this);
    burst->heading = heading;
    burst->PlaceAt(start);
    // The fragments' blasts are credited to the owner, so it is known before they fly.
    burst->owner = shooter != nullptr ? shooter->owner : nullptr;
    burst->Fire(shooter, targets);
    burst->SavePreviousState();
    return burst;
}

FlameBall* Arena::NewFlameBall(Player* owner, const Vector3& launch, const Vector3& target, float range) {
    auto* ball = static_cast<FlameBall*>(NewObjectOfKind(kKindFlameBall));
    ball->owner = owner;
    ball->launchPoint = launch;
    ball->start = launch;
    ball->target = target;
    ball->range = range;
    ball->PlaceAt(launch);
    const Vector3 path = target - launch;
    const float length = path.Length();
    ball->SetVelocity(length > Tolerance ? path * (FlameBall::kSpeed / length) : Vector3());
    ball->SavePreviousState();
    return ball;
}

ExplosionField* Arena::NewExplosion(Player* owner, const Vector3& centre, float damage, float radius, float innerRadius,
                                    const Vector3& direction, int damageKind) {
    ExplosionField* field = NewExplosionField();
    field->Start(owner, centre, damage, radius, innerRadius, direction, damageKind);
    field->SavePreviousState();
    return field;
}

FieldGenerator* Arena::AddFieldGenerator(Player* owner, const Vector3& start, const Vector3& target, int weaponKind) {
    auto* generator = static_cast<FieldGenerator*>(NewObjectOfKind(kKindFieldGenerator));
    generator->ResetHealth(kProjectileHealth);
    generator->owner = owner;
    generator->launchPoint = start;
    Vector3 landing = NearestImage(start, target);
    landing.z = GetGroundHeight(landing.x, landing.y) + kGeneratorHover;
    generator->landingPoint = landing;
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    generator->lifeTimer = owner != nullptr ? owner->GetWeaponDuration(weaponKind) : (row ? row->duration : 0.0f);
    generator->shape.SetSphere(start, kFieldGeneratorRadius);
    generator->PlaceAt(start);
    generator->SetWeaponKind(weaponKind);
    generator->state = FieldGenerator::kStateFlying;
    generator->SavePreviousState();
    PlaySoundAtPoint(generator->sound, start, 1.0f);
    return generator;
}

SmokePuff* Arena::AddSmokePuff(const Vector3& source, float size) {
    auto* puff = static_cast<SmokePuff*>(NewObjectOfKind(kKindSmokePuff));
    puff->Start(source, size);
    AddObject(puff);
    return puff;
}

ScorchMark* Arena::AddScorchMark(const Vector3& position, float size) {
    auto* scorch = static_cast<ScorchMark*>(NewObjectOfKind(kKindScorchMark));
    scorch->Start(position, size);
    AddObject(scorch);
    return scorch;
}

WaterRing* Arena::AddWaterRing(Vorn* unit, const Vector3& position, float size) {
    WaterRing* ring = NewWaterRing();
    ring->Start(position, size);
    AddObject(ring);
    if (unit != nullptr) PlaySoundAtPoint(unit->sounds[Vorn::kSoundWaterRing], position, 1.0f);
    return ring;
}

SoccerBall* Arena::SpawnSoccerBall(const Vector3& position, int32_t id) {
    SoccerBall* ball = NewSoccerBall();
    if (id != -1) ball->id = id;
    ball->lastKicker = nullptr;
    ball->orientation = Quaternion();
    ball->heading = 0.0f;
    ball->PlaceAt(position);
    ball->SetVelocity(Vector3());
    ResolvePlacementOverlap(ball, kSettleStep);
    AddObject(ball);
    if (Game* game = CurrentGame()) game->OnBallSpawned(ball);
    PlaySoundAtPoint(ball->popSound, ball->position, 1.0f);
    return ball;
}

int Arena::SpawnDebrisFromModel(Vorn* unit, int32_t cause, const Vector3Array* positions,
                                const Vector3Array* velocities) {
    Array<Debris*> made;
    if (unit != nullptr && unit->bodyModel != nullptr) {
        Renderer& renderer = GetRenderer();
        Array<MeshInstance> parts;
        renderer.GetModelMeshList(unit->bodyModel, parts);
        const Matrix4 unitWorld = unit->BuildWorldMatrix();
        const bool replayed = positions != nullptr && velocities != nullptr;
        for (const MeshInstance& part : parts) {
            if (part.mesh == nullptr || part.mesh->positions.Count() == 0) continue;
            const Matrix4 partWorld = Matrix4::Multiply(part.world, unitWorld);
            const float partScale = Vector3(partWorld[0], partWorld[1], partWorld[2]).Length();
            const float radius = PartRadius(*part.mesh);
            // A part without size has nothing to tumble or collide with.
            if (partScale <= Tolerance || radius <= Tolerance) continue;
            ModelNode* node = renderer.NewModelNode();
            node->name = unit->bodyModel->name;
            node->mesh = part.mesh;
            node->bounds = Sphere(Vector3(), radius);
            auto* debris = static_cast<Debris*>(NewObjectOfKind(kKindDebris));
            debris->Start(unit->owner, node, partWorld, unit->position, unit->timeBudget);
            const int i = made.Count();
            if (replayed && i < positions->Count() && i < velocities->Count()) {
                debris->PlaceAt((*positions)[i]);
                debris->SetVelocity((*velocities)[i]);
            }
            AddObject(debris);
            made.Append(debris);
        }
    }
    if (Game* game = CurrentGame()) game->OnDebrisSpawned(unit, cause, made);
    return made.Count();
}
