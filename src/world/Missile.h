#pragma once
// A missile in flight: a ballistic arc at one and a half times game speed, trailing
// smoke, exploding on the first solid object or at the ground.
#include <cstdint>

#include "world/WorldObject.h"

class Player;

class Missile : public WorldObject {
public:
    static constexpr float kRadius = 1.0f;
    // Missiles run this much faster than game time.
    static constexpr float kTimeScale = 1.5f;
    static constexpr float kRollRate = 5.0f;
    static constexpr float kSmokeInterval = 0.1f;

    Missile();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void OnCollide(WorldObject* other, const Vector3& contactPoint) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    // Turned along the velocity.
    const Matrix4& BuildWorldMatrix() override;
    // explode != 0: the explosion sound and, except on a client, the blast.
    void Remove(int explode) override;
    void OnPlaced() override;

    Player* owner = nullptr;  // the firing unit's player; not owned
    Vector3 target;           // the point the missile was launched at
    float smokeTimer = kSmokeInterval;
    float roll = 0.0f;  // radians about its own axis
    int32_t launchSound = -1;
    int32_t explosionSound = -1;

private:
    void HitGround();
    void EmitSmoke();
};

// The rotation that turns the up axis (0, 0, 1) onto the direction, after a turn of
// `angle` about the up axis, translated to the position. A zero direction keeps up.
Matrix4 OrientationMatrix(const Vector3& position, const Vector3& direction, float angle);
