#pragma once
// A pool of goo opened by a field generator: units standing in it move at a quarter of
// their speed, and a ball rolling through it drags.
#include "engine/ParticleSystem.h"
#include "world/Field.h"

class GooField : public Field {
public:
    static constexpr int kBubbleCount = 40;
    static constexpr float kSlowFactor = 0.25f;
    static constexpr float kBallDrag = 2.0f;

    GooField();
    ~GooField() override;

    void Start(const Vector3& centre, float radius);
    // A new bubble position relative to the field's origin.
    Vector3 RandomBubblePoint() const { return NewBubblePoint(); }

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    ParticleSystem bubbles;
    float overlayAngle = 0.0f;  // radians, the turn of the overlay decal
};
