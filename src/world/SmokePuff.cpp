#include "world/SmokePuff.h"

#include "engine/Renderer.h"

SmokePuff::SmokePuff() {
    kind = kKindSmokePuff;
    WorldObject::SetHealth(1.0f);
    shape.SetSphere(Vector3(), 1.0f);
    smoke.Start();
}

void SmokePuff::Start(const Vector3& point, float size) {
    shape.SetSphere(point, size);
    PlaceAt(point);
    smoke.SetSize(size);
    // The puff's own position is applied when it is drawn.
    smoke.Emit(Vector3());
}

void SmokePuff::Reset() {
    smoke.Start();
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void SmokePuff::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    renderer.SetAlphaBlend();
    smoke.Draw();
    renderer.SetBlendOff();
}

void SmokePuff::Update(bool) {
    if (active && !smoke.Update()) Remove(0);
    SpendAllTime();
}
