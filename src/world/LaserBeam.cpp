#include "world/LaserBeam.h"

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"

namespace {

constexpr const char* kSoundNames[] = {"Laser0.ogg", "Laser1.ogg", "Laser2.ogg", "Laser3.ogg"};
constexpr const char* kMaterialNames[LaserBeam::kFrameCount] = {"LaserBall1.tga", "LaserBall2.tga", "LaserBall3.tga",
                                                                "LaserBall4.tga", "LaserBall5.tga", "LaserBall6.tga"};
constexpr float kProjectileHealth = 10.0f;
// The trail's particles lie this many times their spacing behind the head.
constexpr float kTrailStretch = 3.0f;

// Made at the first drawing: the pools build every beam at start-up, and a simulation
// that never draws needs no texture files. The renderer's release empties them.
RendererRef<Material> gMaterials[LaserBeam::kFrameCount];

Material* FrameMaterial(int frame) {
    if (gMaterials[frame] == nullptr) {
        gMaterials[frame] = GetRenderer().CreateMaterial();
        if (TextureHandle texture = gArena->LoadSharedTexture(kMaterialNames[frame])) {
            gMaterials[frame]->stages.Append(TextureStageSettings(texture));
        }
    }
    return gMaterials[frame];
}

}  // namespace

LaserBeam::LaserBeam() {
    kind = kKindLaserBeam;
    // The middle two sounds are twice as likely as the outer two.
    const auto pick = ((static_cast<uint32_t>(sys::Rand()) + 5461u) * 3u) / 32767u;
    sound = LoadEffectSound(SoundPath(kSoundNames[pick]));
    for (int k = 0; k < kTrailCount; ++k) {
        Particle particle;
        particle.size = 2.0f * static_cast<float>(kTrailCount - k) * 0.5f / kTrailCount;
        trail.particles.Append(particle);
    }
    trail.usesParticleSizes = true;
    trail.usesParticleColours = true;
    Reset();
}

LaserBeam::~LaserBeam() {
    // The pools remake an object on every take: its quad goes with it.
    if (trail.mesh != nullptr) GetRenderer().DestroyParticleMesh(trail);
}

void LaserBeam::Reset() {
    ResetHealth(kProjectileHealth);
    ClearGridBounds();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    shape.SetSphere(Vector3(), kRadius);
}

void LaserBeam::SetParticleColor(const Color& colour) {
    trailColour = colour;
    trail.SetColor(colour);
}

bool LaserBeam::FixDirection() {
    direction = gArena->NearestImage(position, target) - position;
    direction.z = 0.0f;
    if (direction.Length() <= Tolerance) direction = GetHeadingVector();
    const float length = direction.Length();
    // A heading that is no number gives no direction either.
    if (!(length > Tolerance)) return false;
    direction = direction * (1.0f / length);
    return true;
}

void LaserBeam::Update(bool paused) {
    if (paused) {
        SpendAllTime();
        return;
    }
    SavePreviousState();
    const float step = timeBudget * kSpeed;
    if (!started) {
        if (!FixDirection()) {
            // Aimed at its own spot with no heading: it fizzles where it is.
            Remove(0);
            SpendAllTime();
            return;
        }
        started = true;
    }
    travelled += timeBudget;
    Vector3 next = position + direction * step;
    next.z = gArena->GetGroundHeight(next.x, next.y) + kHeightAboveGround;
    if (!IsCurrentGameClient()) {
        ContactRecord hit;
        if (!gArena->MoveWithCollision(this, position, next, &hit, nullptr)) {
            WorldObject* other = hit.otherObject;
            OnCollide(other, hit.contactPoint);
            if (other != nullptr) other->OnCollide(this, hit.contactPoint);
            SpendAllTime();
            return;
        }
    }
    PlaceAt(next);
    if (!IsCurrentGameClient() && travelled >= kRange / kSpeed) {
        PlaceAt(start + direction * kRange);
        Remove(0);
    }
    SpendAllTime();
}

void LaserBeam::OnCollide(WorldObject*, const Vector3& contactPoint) {
    if (IsCurrentGameClient()) return;
    PlaceAt(contactPoint);
    Remove(1);
}

void LaserBeam::Remove(int explode) {
    // A beam hit twice in one step (its own sweep and its target's) explodes once.
    if (removed) return;
    health = 0.0f;
    if (explode != 0 && !IsCurrentGameClient()) {
        ExplosionField* blast =
            gArena->NewExplosion(owner, position, ShotDamage(owner, kWeaponLaser), GetUpgradeBaseValue(kWeaponLaser),
                                 0.0f, Vector3(-direction.x, -direction.y, 0.0f), 0);
        gArena->AddObject(blast);
        if (Game* game = CurrentGame()) game->OnBlastAdded(blast);
    }
    WorldObject::Remove(explode);
}

void LaserBeam::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    float along = 0.0f;
    for (Particle& particle : trail.particles) {
        Vector3 at = point - direction * (kTrailStretch * along);
        at.z = gArena->GetGroundHeight(at.x, at.y) + kHeightAboveGround;
        particle.position = at - point;
        along += particle.size * 0.5f * 0.25f;
    }
    trail.material = FrameMaterial(frame);
    renderer.SetAdditiveBlend();
    renderer.DrawParticles(trail);
    renderer.SetBlendOff();
    frame = (frame + 1) % kFrameCount;
    trail.material = FrameMaterial(frame);
}
