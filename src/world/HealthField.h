#pragma once
// A field that heals the units standing in it: a unit that stays for the whole duration
// gains the whole heal amount (up to its maximum health).
#include "engine/ParticleSystem.h"
#include "world/Field.h"

class HealthField : public Field {
public:
    static constexpr int kBubbleCount = 20;

    HealthField();
    ~HealthField() override;

    // A duration of 0 or less heals the whole amount in the first tick, then the field
    // ends.
    void Start(const Vector3& centre, float radius, float amount, float seconds);

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    float duration = 0.0f;  // seconds over which the heal is spread
    ParticleSystem bubbles;
    float overlayAngle = 0.0f;
    float healAmount = 0.0f;  // for a unit that stays the whole duration
};
