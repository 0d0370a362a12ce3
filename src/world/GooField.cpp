#include "world/GooField.h"

#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/SoccerBall.h"

namespace {

constexpr float kBubbleSize = 0.6f;
constexpr float kBubbleRise = 7.0f;  // units per second
const Color kBubbleColour = Color::FromRGBA(25, 200, 25, 255);
// Emptied when the renderer frees its objects, and made again at the next drawing.
RendererRef<Material> gBubbleMaterial;

}  // namespace

GooField::GooField() : Field(kKindGooField) { Reset(); }

GooField::~GooField() { ReleaseBubbles(bubbles); }

void GooField::Start(const Vector3& centre, float radius) { overlayAngle = SpreadAt(centre, radius, bubbles); }

void GooField::Reset() { MakeBubbles(bubbles, kBubbleCount, kBubbleSize); }

void GooField::Draw(const Vector3& point) {
    static Arena::SharedTextureSlot slot;
    const TextureHandle overlay = gArena->LoadSharedTexture("GooFieldOverlay.tga", slot);
    DrawOverlay(point, overlayAngle, overlay);
    DrawBubbles(bubbles, point, gBubbleMaterial, "WhiteBall.tga");
}

void GooField::Update(bool paused) {
    if (!paused) {
        for (WorldObject* object : CollectGroundedInside()) {
            if (object->kind == kKindVorn) {
                static_cast<Vorn*>(object)->speedFactor *= kSlowFactor;
            } else {
                static_cast<SoccerBall*>(object)->drag = kBallDrag;
            }
        }
        RiseBubbles(bubbles, kBubbleRise * FrameTime(), kBubbleColour);
    }
    SpendAllTime();
}
