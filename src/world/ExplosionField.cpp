#include "world/ExplosionField.h"

#include "engine/Renderer.h"
#include "world/Arena.h"

ExplosionField::ExplosionField() : Field(kKindExplosionField) {
    shape.SetSphere(Vector3(), 1.0f);
    smoke.Start();
}

void ExplosionField::Start(Player* blastOwner, const Vector3& centre, float blastDamage, float radius,
                           float innerRadius, const Vector3& blastDirection, int damageKind) {
    direction = blastDirection;
    shape.SetSphere(centre, radius);
    PlaceAt(centre);
    damage = blastDamage;
    owner = blastOwner;
    // The smoke and sparks start at the field's own origin: drawing translates them to
    // the image being drawn, so a start at the centre would place them twice over.
    smoke.SetSize(radius);
    smoke.Emit(Vector3());
    for (SparkSystem& spark : sparks) spark.Start(Vector3(), direction);
    if (damage > 0.0f) gArena->ApplyBlast(owner, centre, damage, radius, innerRadius, damageKind);
}

void ExplosionField::Reset() {
    for (SparkSystem& spark : sparks) spark.Reset();
    smoke.Start();
    damage = 0.0f;
}

void ExplosionField::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    renderer.SetAdditiveBlend();
    smoke.Draw();
    for (SparkSystem& spark : sparks) spark.Draw();
    renderer.SetBlendOff();
}

void ExplosionField::Update(bool) {
    if (active) {
        // Every one of the four is advanced, even when an earlier one still runs.
        bool running = smoke.Update();
        for (SparkSystem& spark : sparks) running = spark.Update() || running;
        if (!running) Remove(0);
    }
    SpendAllTime();
}
