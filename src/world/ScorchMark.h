#pragma once
// A burnt patch on the ground left by an explosion: a turned decal that fades out over
// ten seconds.
#include <cstdint>

#include "world/WorldObject.h"

class ScorchMark : public WorldObject {
public:
    static constexpr float kLife = 10.0f;

    ScorchMark();

    // A random turn and one of the three scorch textures.
    void Start(const Vector3& point, float markSize);
    // Opaque at the start, clear at the end of its life.
    uint8_t DecalAlpha() const;

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void SetHealth(float) override {}

    float life = 0.0f;         // seconds of time budget left
    float size = 0.0f;         // half the side of the decal square
    float angle = 0.0f;        // radians
    int32_t textureIndex = 0;  // 0..2
};
