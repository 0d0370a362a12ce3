// Marching arrows.
#include "world/MarchingArrows.h"

#include <algorithm>
#include <cmath>

#include "core/Angles.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "world/SharedPhase.h"

namespace {

Sprite* gArrowSprite = nullptr;

}  // namespace

void SetMarchingArrowSprite(Sprite* sprite) { gArrowSprite = sprite; }

Sprite* GetMarchingArrowSprite() { return gArrowSprite; }

int MarchingArrowCount(float length, float size, float scale) {
    if (!(size > 0.0f) || !std::isfinite(length)) return 0;
    const float spacing = (scale / 1.25f + 0.2f) * (size / 0.7f);
    const float count = length / spacing;
    if (!(count >= 1.0f)) return 1;
    return int(std::min(count, float(kMaxMarchingArrows)));
}

void DrawOrientedDecal(const Vector2& from, const Vector2& to, Color colour, float size, float scale,
                       float phaseOffset) {
    const int count = MarchingArrowCount((to - from).Length(), size, scale);
    if (gArrowSprite == nullptr || count == 0) return;
    gArrowSprite->SetColor(colour);
    const float heading = HeadingBetween(from, to);
    const float phase = FoldPhase(GetSharedPhase() + phaseOffset);
    const Vector2 extent(size * scale, size * scale);
    Renderer& renderer = GetRenderer();
    for (int i = 0; i < count; ++i) {
        const Vector2 point = from + (to - from) * ((phase + float(i)) / float(count));
        renderer.DrawSpriteRotated(*gArrowSprite, point, extent, heading, Vector2(), Matrix4());
    }
}
