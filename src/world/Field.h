#pragma once
// The base of the four fields (goo, explosion, static, health): a round area on the
// ground that acts on what stands in it. Fields take no damage and are never saved.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "engine/ParticleSystem.h"
#include "world/WorldObject.h"

class Vorn;

class Field : public WorldObject {
public:
    static constexpr float kDefaultRadius = 8.0f;

    explicit Field(int fieldKind);

    // A field keeps nothing that needs preparing before it goes back to its pool.
    void Reset() override;
    void TakeDamage(Player*, const Vector3&, float, int) override {}

protected:
    // The objects on the ground whose ground-plane distance to the centre, across the
    // wrap-around, is below the field's radius: units and balls, each once, gathered
    // from the grid cells under the field before any of them is acted on. The list is
    // the field's own, kept from tick to tick so that gathering allocates nothing once
    // warm, and valid until the next gathering.
    const Array<WorldObject*>& CollectGroundedInside();
    // The ground under the point (relative to the field's origin) minus the ground under
    // the centre.
    float GroundOffset(const Vector3& local) const;
    // The same with the ground under the centre already known.
    float GroundOffsetFrom(float centreGround, const Vector3& local) const;
    // Under the ground within the radius, up to twice the radius deep, relative to the
    // field's origin: bubbles start hidden and rise into view.
    Vector3 NewBubblePoint() const;
    // Every bubble rises; one more than 2 above the ground starts again below it. A bubble
    // shows from the ground up and is fully opaque 2 above it.
    void RiseBubbles(ParticleSystem& bubbles, float rise, Color colour);
    void PlaceBubbles(ParticleSystem& bubbles);
    // Centres the field on the point and scatters the bubbles; the answer is a random turn
    // for the overlay decal, drawn before the bubbles' points.
    float SpreadAt(const Vector3& centre, float radius, ParticleSystem& bubbles);
    // The overlay texture laid on the ground over the field, turned by the angle.
    void DrawOverlay(const Vector3& point, float angle, TextureHandle texture) const;
    // The bubbles drawn at the image being drawn, with the texture of the file.
    void DrawBubbles(ParticleSystem& bubbles, const Vector3& point, RendererRef<Material>& material, const char* texture);
    static void MakeBubbles(ParticleSystem& bubbles, int count, float size);
    // Pooled fields are remade on every take; the quad goes with the field.
    static void ReleaseBubbles(ParticleSystem& bubbles);
    static float FrameTime();

private:
    Array<WorldObject*> inside_;
};
