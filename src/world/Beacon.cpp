#include "world/Beacon.h"

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

// A quarter turn a second.
constexpr float kSpinRate = kPi * 0.5f;

}  // namespace

Beacon::Beacon() {
    kind = kKindBeacon;
    shape.SetSphere(Vector3(), kRadius);
    Reset();
}

void Beacon::Reset() {
    heading = 0.0f;
    owner = nullptr;
    ownerPlayer = nullptr;
    ResetHealth(1.0f);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void Beacon::SetOwner(Vorn* unit) {
    owner = unit;
    ownerPlayer = unit != nullptr ? unit->owner : nullptr;
}

void Beacon::Draw(const Vector3& point) {
    if (ownerPlayer != nullptr) {
        ownerPlayer->ApplyColors();
    }
    // The decal of the owner's beacon texture turns with the heading.
    const TextureHandle texture = ownerPlayer != nullptr ? ownerPlayer->beaconTexture : nullptr;
    DrawGroundDecal(point, Vector2(position.x, position.y), kRadius, texture, Color(0xFFFFFFFFu), false, heading);
}

// The spin follows the frame time even while the game is paused.
void Beacon::Update(bool) {
    const Game* game = CurrentGame();
    const float frame = game != nullptr ? game->frameTime : 0.0f;
    heading = FloatMod(heading + kSpinRate * frame, 2.0f * kPi);
    if (heading < 0.0f) {
        heading += 2.0f * kPi;
    }
    SpendAllTime();
}

void Beacon::PlaceAt(const Vector3& point) {
    Vector3 ground = point;
    ground.z = gArena->GetGroundHeight(point.x, point.y);
    WorldObject::PlaceAt(ground);
    shape.SetSphere(position, shape.Radius());
}

void Beacon::TakeDamage(Player*, const Vector3&, float, int) {}
