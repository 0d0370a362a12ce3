#include "world/Shrapnel.h"

#include <algorithm>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"

namespace {

constexpr float kProjectileHealth = 10.0f;
constexpr float kBurstSmokeSize = 2.0f;
constexpr float kTrailSmokeSize = 1.0f;

// Forgets the shooter of every burst in the list when that unit leaves the world.
class ShooterWatch : public RemovalListener {
public:
    explicit ShooterWatch(Arena& arena) : arena_(arena) {}
    void OnObjectRemoved(WorldObject& object) override {
        if (object.kind != kKindVorn) return;
        for (WorldObject* listed : arena_.Objects()) {
            if (listed->kind != kKindShrapnel) continue;
            auto* burst = static_cast<Shrapnel*>(listed);
            if (burst->shooter == &object) burst->shooter = nullptr;
        }
    }

private:
    Arena& arena_;
};

}  // namespace

void Shrapnel::WatchShooters(Arena& arena) {
    // One watch per arena, kept for the run; registering again changes nothing.
    static Arena* watchedArena = nullptr;
    static ShooterWatch* watch = nullptr;
    if (watchedArena != &arena) {
        delete watch;
        watch = new ShooterWatch(arena);
        watchedArena = &arena;
    }
    arena.RegisterRemovalListener(watch);
}

Shrapnel::Shrapnel() {
    kind = kKindShrapnel;
    sound = LoadEffectSound(SoundPath("ShrapnelGun.ogg"));
    burstSmoke.Start();
    burstSmoke.SetSize(kBurstSmokeSize);
    for (SmokeSystem& trail : trails) {
        trail.Start();
        trail.SetSize(kTrailSmokeSize);
    }
    Reset();
}

void Shrapnel::Reset() {
    ResetHealth(kProjectileHealth);
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    shape.SetSphere(Vector3(), kRadius);
    trailCount = 0;
}

void Shrapnel::Fire(Vorn* firingUnit, std::span<const Vector3> targets) {
    shooter = firingUnit;
    const size_t count = std::min(targets.size(), static_cast<size_t>(kFragmentCount));
    for (size_t i = 0; i < kFragmentCount; ++i) {
        endPoints[i] = i < count ? gArena->NearestImage(position, targets[i]) : position;
    }
    StopEffectSound(sound);
    gArena->PlaySoundAtPoint(sound, position, 1.0f);
    burstSmoke.Emit(Vector3());
    trailCount = 0;
    const bool client = IsCurrentGameClient();
    for (Vector3& end : endPoints) {
        if (!client) end = TestFragment(end);
        StartTrail(end);
    }
}

Vector3 Shrapnel::TestFragment(const Vector3& end) {
    const Vector3 step = (end - position) * (1.0f / kSegmentCount);
    for (int s = 0; s < kSegmentCount; ++s) {
        Vector3 from = position + step * static_cast<float>(s);
        Vector3 to = position + step * static_cast<float>(s + 1);
        gArena->PlaceAboveGround(from, kHeightAboveGround);
        gArena->PlaceAboveGround(to, kHeightAboveGround);
        CollisionShape piece;
        piece.SetCylinder(from, to, kRadius);
        ContactRecord hit;
        // The fragments leave from the shooter's own surface: it never stops them.
        if (gArena->FindFirstHit(this, piece, &hit, shooter)) {
            Vector3 point = hit.contactPoint;
            gArena->PlaceAboveGround(point, kHeightAboveGround);
            HitAt(owner, point);
            return point;
        }
    }
    return end;
}

void Shrapnel::StartTrail(const Vector3& end) {
    if (trailCount >= kFragmentCount) return;
    SmokeSystem& trail = trails[trailCount++];
    trail.Emit(Vector3());
    // The six puffs are laid along the fragment's path, one after another.
    const Vector3 path = gArena->NearestImage(position, end) - position;
    for (int i = 0; i < SmokeSystem::kEmitterCount; ++i) {
        for (Particle& particle : trail.emitters[i].particles) {
            particle.position += path * ((static_cast<float>(i) + 0.5f) / SmokeSystem::kEmitterCount);
        }
    }
}

void Shrapnel::HitAt(Player* player, const Vector3& point) {
    Vector3 away = position - point;
    const float length = away.Length();
    away = length > Tolerance ? away * (1.0f / length) : Vector3(1.0f, 0.0f, 0.0f);
    ExplosionField* blast = gArena->NewExplosion(player, point, ShotDamage(player, kWeaponShrapnelGun),
                                                 GetUpgradeBaseValue(kWeaponShrapnelGun), 0.0f, away, 0);
    gArena->AddObject(blast);
    if (Game* game = CurrentGame()) game->OnBlastAdded(blast);
}

void Shrapnel::Update(bool) {
    for (int i = 0; i < trailCount; ++i) trails[i].Update();
    if (!burstSmoke.Update()) Remove(0);
    SpendAllTime();
}

void Shrapnel::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    renderer.SetAlphaBlend();
    burstSmoke.Draw();
    for (int i = 0; i < trailCount; ++i) trails[i].Draw();
    renderer.SetBlendOff();
}
