#include "world/ScorchMark.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "platform/sys/Random.h"
#include "world/Arena.h"

ScorchMark::ScorchMark() {
    kind = kKindScorchMark;
    WorldObject::SetHealth(1.0f);
    shape.SetSphere(Vector3(), 1.0f);
}

void ScorchMark::Start(const Vector3& point, float markSize) {
    size = markSize;
    angle = RandomFloatBetween(0.0f, 2.0f * kPi);
    // Index 1 comes twice as often as 0 and 2.
    textureIndex = (2 * sys::Rand() + 16383) / sys::kRandMax;
    shape.SetSphere(point, markSize);
    life = kLife;
    PlaceAt(point);
}

uint8_t ScorchMark::DecalAlpha() const { return uint8_t(std::floor(std::clamp(life / kLife, 0.0f, 1.0f) * 255.0f)); }

void ScorchMark::Reset() {
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void ScorchMark::Update(bool) {
    life -= timeBudget;
    if (life <= 0.0f) Remove(0);
    SpendAllTime();
}

void ScorchMark::Draw(const Vector3& point) {
    if (life <= 0.0f) return;
    static Arena::SharedTextureSlot slots[3];
    const TextureHandle textures[3] = {gArena->LoadSharedTexture("ScorchMark.tga", slots[0]),
                                       gArena->LoadSharedTexture("ScorchMark2.tga", slots[1]),
                                       gArena->LoadSharedTexture("ScorchMark3.tga", slots[2])};
    const Color colour = Color::FromRGBA(255, 255, 255, DecalAlpha());
    DrawGroundDecal(point, Vector2(position.x, position.y), size, textures[std::clamp(textureIndex, 0, 2)], colour,
                    true, angle);
}
