#pragma once
// A ring spreading on water where something splashed: a decal that grows from five
// times its size down to its size while it fades out within a second.
#include "world/WorldObject.h"

class WaterRing : public WorldObject {
public:
    static constexpr float kLife = 1.0f;

    WaterRing();

    void Start(const Vector3& point, float ringSize);
    // Opaque at the start, clear at the end of its life.
    uint8_t DecalAlpha() const;
    // The decal's scale: 5 at the start, falling to 1 as the ring fades.
    float DecalScale() const;

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void SetHealth(float) override {}

    float life = 0.0f;   // seconds of time budget left
    float size = 0.0f;   // half the side of the decal square
    float angle = 0.0f;  // radians
};
