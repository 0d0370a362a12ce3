#pragma once
// A solar charger: a standing machine that heals every unit on the ground within 10
// units and draws a stream of rings from each to itself. Damage makes it smoke; a fatal
// hit makes it explode 0.3 s later in a blast credited to the attacker.
#include <cstdint>

#include "core/Array.h"
#include "core/Vector3Array.h"
#include "engine/AnimationController.h"
#include "world/Tree.h"
#include "world/WorldObject.h"

class SolarCharger : public WorldObject {
public:
    static constexpr float kHeight = 2.5f;
    static constexpr float kCylinderRadius = 1.2f;
    static constexpr float kHealth = 10.0f;
    static constexpr float kChargeRange = 10.0f;
    static constexpr float kChargeRate = 5.0f;  // health a second
    static constexpr float kDeathDelay = 0.3f;

    SolarCharger();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    void FaceDirection(const Vector3& point) override;
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    // With explode (and unless a network client), the blast and the scorch mark.
    void Remove(int explode) override;
    float GetRadius() const override { return 1.8f; }
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    void SetDefaults() override;
    bool IsSaved() const override { return true; }
    void OnPlaced() override;

    void SetShape(float radius);
    void AddTarget(const Vector3& point, float radius);
    void AddSmoke(float size);
    void RotateSmokes(float angle);
    // Counts down a pending fatal hit and applies it at zero.
    void UpdateDeathTimer();

    Vector3Array targets;      // units charged in this tick
    Array<float> targetRadii;  // their collision radii
    float ringPhase = 0.0f;    // [0, 1)
    float ringAngle = 0.0f;    // [0, 2 pi)
    IntRect chargingBounds = kEmptyGridBounds;
    float pendingDamage = 0.0f;
    Player* pendingAttacker = nullptr;  // not owned
    Vector3 pendingHitPoint;
    float deathTimer = 0.0f;  // 0 while no fatal hit is pending
    PuffList smokes;
    int32_t burstSound = -1;
    int32_t smokeSound = -1;
    ModelNode* ringModel = nullptr;  // not owned
    // The panel's endless turn, which runs while the game is paused too.
    AnimationController rotation;

private:
    void DrawRings(const Vector3& top);
};
