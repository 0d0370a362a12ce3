#include "world/Tree.h"

#include <cmath>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "world/FirePuff.h"
#include "world/Rock.h"

namespace {

constexpr const char* kModels[Rock::kVariantCount] = {"Tree", "PineTree", "PalmTree", "TreeCactus", "Tree6", "Tree7"};
constexpr const char* kShadows[Rock::kVariantCount] = {"TreeShadow.tga",     "PineTreeShadow.tga",
                                                       "PalmTreeShadow.tga", "TreeCactusShadow.tga",
                                                       "Tree6Shadow.tga",    "Tree7Shadow.tga"};
// Damage lights fire i (1 to 9) below 40 (1 - (i + 1) / 11) health; a burst shows all ten.
constexpr int kFireSteps = 10;

TextureHandle ShadowTexture(int variant) {
    static RendererRef<Texture> textures[Rock::kVariantCount];
    if (textures[variant] == nullptr) {
        textures[variant] = gArena->LoadSharedTexture(kShadows[variant]);
    }
    return textures[variant];
}

float FireSize(int i) { return (static_cast<float>(i) / 9.0f) * 1.2f + 0.4f; }

}  // namespace

// The puff list.

PuffList::~PuffList() {
    if (listening_ != nullptr) {
        listening_->UnregisterRemovalListener(this);
    }
}

void PuffList::Add(FirePuff* puff) {
    if (listening_ == nullptr) {
        listening_ = gArena;
        listening_->RegisterRemovalListener(this);
    }
    puffs_.Append(puff);
}

void PuffList::MoveBy(const Vector3& displacement) {
    for (FirePuff* puff : puffs_) {
        puff->PlaceAt(puff->position + displacement);
    }
}

void PuffList::Rotate(const Vector3& centre, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    for (FirePuff* puff : puffs_) {
        const Vector3 offset = gArena->NearestImage(centre, puff->position) - centre;
        puff->PlaceAt(centre + Vector3(offset.x * c - offset.y * s, offset.x * s + offset.y * c, offset.z));
    }
}

void PuffList::BurnOut() {
    for (FirePuff* puff : puffs_) {
        puff->ending = true;
    }
}

void PuffList::Forget() {
    puffs_.Clear();
    if (listening_ != nullptr) {
        listening_->UnregisterRemovalListener(this);
        listening_ = nullptr;
    }
}

void PuffList::OnObjectRemoved(WorldObject& object) {
    if (object.kind != kKindFirePuff) {
        return;
    }
    const int index = puffs_.Find(static_cast<FirePuff*>(&object));
    if (index >= 0) {
        puffs_.RemoveAt(index);
    }
}

// The tree.

Tree::Tree() {
    kind = kKindTree;
    SetTeam(Rock::kRandomVariant);
    scale = 0.8f + static_cast<float>(sys::Rand()) / 32767.0f * 0.4f;
    SetShape(kCylinderRadius);
    fireSound = LoadEffectSound(SoundPath("Fire.ogg"));
    burstSound = LoadEffectSound(SoundPath("FireExplosion.ogg"));
    Reset();
}

void Tree::Reset() {
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
    ResetHealth(kHealth);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
    fires.Forget();
    StopEffectSound(fireSound);
}

void Tree::SetDefaults() { ResetHealth(kHealth); }

void Tree::SetShape(float radius) { shape.SetCylinder(position, position + Vector3(0.0f, 0.0f, kHeight), radius); }

void Tree::SetTeam(int value) {
    team = Rock::ChooseVariant(value);
    model = GetRenderer().LoadModel(ActorModelPath(kModels[team]), 1.0f, 8.0f, 0);
}

void Tree::Draw(const Vector3& point) { Rock::DrawLitModel(*this, point + Vector3(0.0f, 0.0f, kModelLift * scale)); }

void Tree::Update(bool) {
    // Every tree shares the fire sound: a burning one keeps it at its place.
    if (fires.Count() > 0 && IsEffectSoundPlaying(fireSound)) {
        PlaceEffectSound(fireSound, position);
        if (Sound* sound = GetEffectSound(fireSound)) {
            gArena->PositionSound(sound, true);
        }
    }
    SpendAllTime();
}

void Tree::PlaceAt(const Vector3& point) {
    const Vector3 old = position;
    WorldObject::PlaceAt(point);
    TakeTerrainLight();
    SetShape(shape.Radius());
    OnPlaced();
    fires.MoveBy(position - gArena->NearestImage(position, old));
}

void Tree::FaceDirection(const Vector3&) { facingAngle = 0.0f; }

void Tree::OnPlaced() {
    const Vector3 top = position + Vector3(0.0f, 0.0f, kHeight * scale);
    ComputeShadow(position, top, top, ShadowTexture(team), false);
}

void Tree::AddFire(float size) {
    FirePuff* puff = gArena->NewFirePuff();
    puff->SetStyle(FirePuff::kStyleGlow);
    Vector3 local = Vector3(0.0f, 0.0f, kModelLift);
    if (model != nullptr) {
        local += model->GetRandomPoint();
    }
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    const Vector3 turned(local.x * c - local.y * s, local.x * s + local.y * c, local.z);
    puff->Start(position + turned * scale, size, "WhiteBall.tga");
    gArena->AddObject(puff);
    fires.Add(puff);
}

void Tree::RotateFires(float angle) { fires.Rotate(position, angle); }

void Tree::TakeDamage(Player*, const Vector3&, float amount, int) {
    float volume = 0.0f;
    SetHealth(health - amount);
    if (health <= 0.0f) {
        if (!IsCurrentGameClient()) {
            Remove(1);
        }
        return;
    }
    for (int i = 0; i < kFireSteps; ++i) {
        const float threshold = kHealth * (1.0f - static_cast<float>(i + 1) / 11.0f);
        if (i > fires.Count() && health < threshold) {
            AddFire(FireSize(i));
            volume = 1.0f - (health / kHealth) * 0.35f;
        }
    }
    if (volume <= 0.0f) {
        return;
    }
    PlaceEffectSound(fireSound, position);
    Sound* sound = GetEffectSound(fireSound);
    if (sound != nullptr && IsEffectSoundPlaying(fireSound)) {
        sound->SetVolumeFactor(volume);
        gArena->PositionSound(sound, true);
    } else {
        gArena->PlaySoundAt(fireSound, volume, 0);
    }
}

void Tree::Remove(int explode) {
    // A second fatal hit in the same tick brings no second burst.
    if (removed) {
        return;
    }
    StopEffectSound(fireSound);
    if (explode != 0) {
        StopEffectSound(burstSound);
        gArena->PlaySoundAtPoint(burstSound, position, 1.0f);
        for (int i = 0; i < kFireSteps; ++i) {
            if (i >= fires.Count()) {
                AddFire(FireSize(i));
            }
        }
    }
    fires.BurnOut();
    WorldObject::Remove(explode);
}

bool Tree::Load(Stream& stream) { return Rock::LoadText(*this, stream); }

void Tree::Save(Stream& stream) { Rock::SaveText(*this, stream); }
