#include "world/HealthField.h"

#include "game/Game.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

constexpr float kBubbleSize = 1.0f;
constexpr float kBubbleRise = 5.0f;  // units per second
const Color kBubbleColour = Color::FromRGBA(255, 255, 255, 255);
// Emptied when the renderer frees its objects, and made again at the next drawing.
RendererRef<Material> gBubbleMaterial;

}  // namespace

HealthField::HealthField() : Field(kKindHealthField) { Reset(); }

HealthField::~HealthField() { ReleaseBubbles(bubbles); }

void HealthField::Start(const Vector3& centre, float radius, float amount, float seconds) {
    healAmount = amount;
    duration = seconds;
    overlayAngle = SpreadAt(centre, radius, bubbles);
}

void HealthField::Reset() {
    MakeBubbles(bubbles, kBubbleCount, kBubbleSize);
    healAmount = 0.0f;
}

void HealthField::Draw(const Vector3& point) {
    static Arena::SharedTextureSlot slot;
    const TextureHandle overlay = gArena->LoadSharedTexture("HealthFieldOverlay.tga", slot);
    DrawOverlay(point, overlayAngle, overlay);
    DrawBubbles(bubbles, point, gBubbleMaterial, "HealthParticle.tga");
}

void HealthField::Update(bool paused) {
    if (!paused && active) {
        const float dt = FrameTime();
        // Spread over the duration; without one the whole amount goes at once, since a
        // heal per second would need a division by zero.
        const bool once = duration <= 0.0f;
        const float heal = once ? healAmount : healAmount * dt / duration;
        if (!IsCurrentGameClient()) {
            for (WorldObject* object : CollectGroundedInside()) {
                if (object->kind == kKindVorn) object->Heal(heal);
            }
        }
        if (once) {
            healAmount = 0.0f;
            Remove(0);
        }
        RiseBubbles(bubbles, kBubbleRise * dt, kBubbleColour);
    }
    SpendAllTime();
}
