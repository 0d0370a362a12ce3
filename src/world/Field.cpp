#include "world/Field.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "world/Arena.h"

namespace {

// Bubbles are fully visible this high above the ground, and start again above it.
constexpr float kBubbleShowHeight = 2.0f;

}  // namespace

Field::Field(int fieldKind) {
    kind = fieldKind;
    shape.SetSphere(Vector3(), kDefaultRadius);
    ResetHealth(1.0f);
}

void Field::Reset() {}

const Array<WorldObject*>& Field::CollectGroundedInside() {
    // Everything in the cells is gathered, then sifted in place.
    inside_.Clear();
    gArena->CollectBodiesInCells(bounds, inside_);
    const int end = inside_.Count();
    inside_.Clear();
    const float radius = shape.Radius();
    for (int k = 0; k < end; ++k) {
        WorldObject* object = inside_.Data()[k];
        if (object->removed || !object->onGround) continue;
        if (object->kind != kKindVorn && object->kind != kKindSoccerBall) continue;
        if (gArena->WrappedDistance2D(position, object->position) < radius) inside_.Append(object);
    }
    return inside_;
}

float Field::GroundOffset(const Vector3& local) const {
    return GroundOffsetFrom(gArena->GetGroundHeight(position.x, position.y), local);
}

float Field::GroundOffsetFrom(float centreGround, const Vector3& local) const {
    const Vector3 at = position + local;
    return gArena->GetGroundHeight(at.x, at.y) - centreGround;
}

Vector3 Field::NewBubblePoint() const {
    const float radius = shape.Radius();
    const Vector2 spot = RandomPointInCircle(Vector2(0.0f, 0.0f), radius);
    Vector3 point(spot.x, spot.y, 0.0f);
    point.z = GroundOffset(point) + radius * RandomFloatBetween(-2.0f, 0.0f);
    return point;
}

void Field::RiseBubbles(ParticleSystem& bubbles, float rise, Color colour) {
    const float centreGround = gArena->GetGroundHeight(position.x, position.y);
    for (Particle& bubble : bubbles.particles) {
        bubble.position.z += rise;
        float g = GroundOffsetFrom(centreGround, bubble.position);
        if (bubble.position.z > g + kBubbleShowHeight) {
            bubble.position = NewBubblePoint();
            g = GroundOffsetFrom(centreGround, bubble.position);
        }
        const float above = bubble.position.z - g;
        const float alpha = above <= 0.0f ? 0.0f : std::min(above * 255.0f * 0.5f, 255.0f);
        bubble.colour = colour;
        bubble.colour.SetAlpha(uint8_t(alpha));
    }
}

void Field::PlaceBubbles(ParticleSystem& bubbles) {
    for (Particle& bubble : bubbles.particles) bubble.position = NewBubblePoint();
}

float Field::SpreadAt(const Vector3& centre, float radius, ParticleSystem& bubbles) {
    shape.SetSphere(centre, radius);
    PlaceAt(centre);
    const float overlayAngle = RandomFloatBetween(0.0f, 2.0f * kPi);
    PlaceBubbles(bubbles);
    return overlayAngle;
}

void Field::DrawOverlay(const Vector3& point, float angle, TextureHandle texture) const {
    DrawGroundDecal(point, Vector2(position.x, position.y), shape.Radius(), texture, Color(0xFFFFFFFFu), false, angle);
}

void Field::DrawBubbles(ParticleSystem& bubbles, const Vector3& point, RendererRef<Material>& material, const char* texture) {
    Renderer& renderer = GetRenderer();
    // Made at the first drawing: the pools make every field at start-up, and a
    // simulation that never draws needs no texture files.
    if (material == nullptr) material = renderer.CreateTexturedMaterial(TexturePath(texture), -1, -1);
    bubbles.material = material;
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    renderer.SetAlphaBlend();
    renderer.DrawParticles(bubbles);
    renderer.SetBlendOff();
}

void Field::MakeBubbles(ParticleSystem& bubbles, int count, float size) {
    bubbles.particles.Clear();
    for (int i = 0; i < count; ++i) bubbles.particles.Append(Particle());
    bubbles.particleSize = size;
    bubbles.usesParticleColours = true;
}

void Field::ReleaseBubbles(ParticleSystem& bubbles) {
    if (bubbles.mesh != nullptr) GetRenderer().DestroyParticleMesh(bubbles);
}

float Field::FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}
