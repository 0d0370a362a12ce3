// Marching arrows.
#include "world/MarchingArrows.h"
#include "engine/RendererRef.h"

#include <algorithm>
#include <cmath>

#include "core/Angles.h"
#include "core/MathUtil.h"
#include "core/Rect.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "world/Arena.h"
#include "world/SharedPhase.h"
#include "world/Terrain.h"

namespace {

RendererRef<Sprite> gArrowSprite;  // emptied by the renderer's release

Texture* ArrowTexture() {
    Material* material =
        gArrowSprite != nullptr && gArrowSprite->quad != nullptr ? gArrowSprite->quad->GetMaterial() : nullptr;
    return material != nullptr && !material->stages.IsEmpty() ? material->stages[0].texture : nullptr;
}

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

int MarchingDotCount(float length, float size) {
    if (!(size > 0.0f) || !std::isfinite(length)) return 0;
    const float count = length / (size / 0.7f);
    if (!(count >= 1.0f)) return 1;
    return int(std::min(count, float(kMaxMarchingArrows)));
}

void DrawMarchingTerrainDots(const Vector3& from, const Vector3& to, Color colour, float size, float phaseOffset) {
    const Vector2 from2(from.x, from.y);
    const Vector2 to2(to.x, to.y);
    const int count = MarchingDotCount((to2 - from2).Length(), size);
    Texture* texture = ArrowTexture();
    if (gArena == nullptr || texture == nullptr || count == 0) return;
    // The arrow picture points along the image's rows, as the decal's heading 0 does.
    const float heading = HeadingBetween(from2, to2);
    const float phase = FoldPhase(GetSharedPhase() + phaseOffset);
    Terrain& terrain = gArena->GetTerrain();
    Renderer& renderer = GetRenderer();
    for (int i = 0; i < count; ++i) {
        Vector3 point = from + (to - from) * ((phase + float(i)) / float(count));
        gArena->PlaceAboveGround(point, 0.0f);
        const Rect square{point.x - size, point.y - size, point.x + size, point.y + size};
        terrain.DrawDecal(square, texture, colour, false, heading, 1.0f);
        renderer.SetWorldTransform(Matrix4());
        terrain.RenderDecalMesh();
    }
}
