#include "world/WaterRing.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "world/Arena.h"

namespace {

// The decal scale is 1 / (1 - kShrink x life): 5 at a life of 1.
constexpr float kShrink = 0.8f;

}  // namespace

WaterRing::WaterRing() {
    kind = kKindWaterRing;
    WorldObject::SetHealth(1.0f);
    shape.SetSphere(Vector3(), 1.0f);
}

void WaterRing::Start(const Vector3& point, float ringSize) {
    size = ringSize;
    angle = RandomFloatBetween(0.0f, 2.0f * kPi);
    shape.SetSphere(point, ringSize);
    life = kLife;
    PlaceAt(point);
}

uint8_t WaterRing::DecalAlpha() const { return uint8_t(std::floor(255.0f * std::clamp(life, 0.0f, 1.0f))); }

float WaterRing::DecalScale() const { return 1.0f / (1.0f - kShrink * std::clamp(life, 0.0f, 1.0f)); }

void WaterRing::Reset() {
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void WaterRing::Update(bool) {
    life -= timeBudget;
    if (life <= 0.0f) Remove(0);
    SpendAllTime();
}

void WaterRing::Draw(const Vector3& point) {
    if (life <= 0.0f) return;
    static Arena::SharedTextureSlot slot;
    const TextureHandle texture = gArena->LoadSharedTexture("WaterRing.tga", slot);
    const Color colour = Color::FromRGBA(255, 255, 255, DecalAlpha());
    DrawGroundDecal(point, Vector2(position.x, position.y), size, texture, colour, true, angle, DecalScale());
}
