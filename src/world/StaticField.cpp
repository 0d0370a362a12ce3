#include "world/StaticField.h"

#include <cmath>

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

constexpr float kSparkSize = 1.0f;

// Waits up to a second before it starts.
float WaitingClock() { return RandomFloatBetween(0.0f, 1.0f) * 0.999f - 1.0f; }

float RandomTurn() { return RandomFloatBetween(0.0f, 2.0f * kPi); }

}  // namespace

StaticField::StaticField() : Field(kKindStaticField) {}

void StaticField::Start(const Vector3& centre, float radius) {
    for (Spark& spark : sparks) {
        spark.visible = false;
        spark.clock = WaitingClock();
    }
    shape.SetSphere(centre, radius);
    PlaceAt(centre);
}

void StaticField::Reset() {}

void StaticField::Update(bool paused) {
    if (!paused) {
        for (WorldObject* object : CollectGroundedInside()) {
            if (object->kind == kKindVorn) static_cast<Vorn*>(object)->inStaticFieldThisTick = 1;
        }
        const float dt = FrameTime();
        for (Spark& spark : sparks) StepSpark(spark, dt);
    }
    SpendAllTime();
}

void StaticField::StepSpark(Spark& spark, float dt) {
    if (spark.clock < 0.0f && spark.clock > -dt) {
        spark.visible = true;
        const float a = RandomTurn();
        spark.direction = Vector3(std::cos(a), std::sin(a), 0.0f);
    }
    spark.clock += dt;
    if (spark.clock <= 0.0f) return;
    spark.angle = RandomTurn();
    PlaceSpark(spark);
    spark.size = kSparkSize;
    if (spark.clock > 1.0f) {
        spark.visible = false;
        spark.clock = WaitingClock();
    }
}

void StaticField::PlaceSpark(Spark& spark) const {
    spark.position = position + spark.direction * (shape.Radius() * spark.clock);
}

void StaticField::PlaceAt(const Vector3& point) {
    Field::PlaceAt(point);
    for (Spark& spark : sparks) {
        if (spark.clock > 0.0f) PlaceSpark(spark);
    }
}

void StaticField::Draw(const Vector3& point) {
    static Arena::SharedTextureSlot slot;
    const TextureHandle texture = gArena->LoadSharedTexture("StaticFieldParticle.tga", slot);
    // Each visible spark is a small decal turned by its angle, at its place in the image
    // being drawn.
    for (const Spark& spark : sparks) {
        if (!spark.visible) continue;
        DrawGroundDecal(point, Vector2(spark.position.x, spark.position.y), kSparkSize * 0.5f, texture,
                        Color(0xFFFFFFFFu), false, spark.angle);
    }
}
