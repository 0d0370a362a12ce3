// The spawners of shots and effects: each takes the object from its pool and hands it
// its starting values. The caller adds the object to the arena.
#include <algorithm>

#include "game/Player.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/Missile.h"
#include "world/Shrapnel.h"

namespace {

constexpr float kLaserBeamRadius = 0.5f;
constexpr float kMissileRadius = 1.0f;
constexpr float kShrapnelRadius = 0.25f;
constexpr float kFlameBallRadius = 1.0f;
constexpr float kFieldGeneratorRadius = 0.5f;
// A thrown generator hovers this high above the ground while its field lasts.
constexpr float kGeneratorHover = 8.0f;
constexpr float kProjectileHealth = 10.0f;

}  // namespace

LaserBeam* Arena::AddLaserBeam(Player* owner, const Vector3& start, float heading, const Color& colour) {
    auto* beam = static_cast<LaserBeam*>(NewObjectOfKind(kKindLaserBeam));
    beam->ResetHealth(kProjectileHealth);
    beam->owner = owner;
    beam->start = start;
    beam->target = start;
    beam->heading = heading;
    beam->trailColour = colour;
    beam->shape.SetSphere(start, kLaserBeamRadius);
    beam->PlaceAt(start);
    beam->SavePreviousState();
    return beam;
}

Missile* Arena::AddMissile(Player* owner, const Vector3& start, const Vector3& velocity, float heading,
                           const Vector3& target) {
    auto* missile = static_cast<Missile*>(NewObjectOfKind(kKindMissile));
    missile->ResetHealth(kProjectileHealth);
    missile->heading = heading;
    missile->owner = owner;
    missile->target = target;
    missile->shape.SetSphere(start, kMissileRadius);
    missile->PlaceAt(start);
    missile->SetVelocity(velocity);
    missile->SavePreviousState();
    return missile;
}

Shrapnel* Arena::NewShrapnel(Vorn* shooter, const Vector3& start, float heading, std::span<const Vector3> targets) {
    auto* burst = static_cast<Shrapnel*>(NewObjectOfKind(kKindShrapnel));
    burst->ResetHealth(kProjectileHealth);
    burst->heading = heading;
    burst->shape.SetSphere(start, kShrapnelRadius);
    burst->PlaceAt(start);
    burst->shooter = shooter;
    burst->owner = shooter != nullptr ? shooter->owner : nullptr;
    const size_t count = std::min(targets.size(), static_cast<size_t>(Shrapnel::kFragmentCount));
    for (size_t i = 0; i < count; ++i) burst->endPoints[i] = NearestImage(burst->position, targets[i]);
    for (size_t i = count; i < Shrapnel::kFragmentCount; ++i) burst->endPoints[i] = burst->position;
    burst->SavePreviousState();
    return burst;
}

FlameBall* Arena::NewFlameBall(Player* owner, const Vector3& start, const Vector3& velocity, float life) {
    auto* ball = static_cast<FlameBall*>(NewObjectOfKind(kKindFlameBall));
    ball->ResetHealth(kProjectileHealth);
    ball->owner = owner;
    ball->launchPoint = start;
    ball->start = start;
    ball->target = start + velocity * life;
    ball->range = velocity.Length() * life;
    ball->shape.SetSphere(start, kFlameBallRadius);
    ball->PlaceAt(start);
    ball->SetVelocity(velocity);
    ball->SavePreviousState();
    return ball;
}

ExplosionField* Arena::NewExplosion(Player* owner, const Vector3& centre, float damage, float radius,
                                    float innerRadius, const Vector3& direction, int damageKind) {
    ExplosionField* field = NewExplosionField();
    field->direction = direction;
    field->shape.SetSphere(centre, radius);
    field->PlaceAt(centre);
    field->damage = damage;
    field->owner = owner;
    if (damage > 0.0f) ApplyBlast(owner, centre, damage, radius, innerRadius, damageKind);
    field->SavePreviousState();
    return field;
}

FieldGenerator* Arena::AddFieldGenerator(Player* owner, const Vector3& start, const Vector3& target, int weaponKind) {
    auto* generator = static_cast<FieldGenerator*>(NewObjectOfKind(kKindFieldGenerator));
    generator->ResetHealth(kProjectileHealth);
    generator->owner = owner;
    generator->weaponKind = weaponKind;
    generator->launchPoint = start;
    Vector3 landing = NearestImage(start, target);
    landing.z = GetGroundHeight(landing.x, landing.y) + kGeneratorHover;
    generator->landingPoint = landing;
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    generator->lifeTimer = owner != nullptr ? owner->GetWeaponDuration(weaponKind) : (row ? row->duration : 0.0f);
    generator->shape.SetSphere(start, kFieldGeneratorRadius);
    generator->PlaceAt(start);
    generator->SavePreviousState();
    return generator;
}
