#pragma once
// A burning rock of the meteor shower: it falls along a fixed direction at a fixed
// speed, spinning, and explodes where it reaches the ground with a blast that follows
// its scale and is credited to nobody.
#include <cstdint>

#include "world/WorldObject.h"

class Meteor : public WorldObject {
public:
    static constexpr float kRadius = 1.0f;
    // The blast reaches this many collision radii (times the scale).
    static constexpr float kBlastReach = 5.0f;
    // Only a meteor lower than this over the ground casts a shadow.
    static constexpr float kShadowHeight = 16.0f;

    Meteor();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    // A meteor falls along its velocity: the fall direction and the speed follow it.
    void SetVelocity(const Vector3& value) override;
    // Turned by the spin angle about the spin axis.
    const Matrix4& BuildWorldMatrix() override;
    // explode != 0: the impact sound and, except on a client, the blast and a scorch mark.
    void Remove(int explode) override;
    void OnPlaced() override;

    Vector3 fallDirection{0.0f, 0.0f, -1.0f};
    float spinRate = 2.0f;  // radians per second
    float damage = 50.0f;   // at the blast's centre
    Vector3 spinAxis{0.0f, 0.0f, 1.0f};
    float spinAngle = 0.0f;  // radians
    float speed = 12.0f;     // units per second
    int32_t fallingSound = -1;
    int32_t impactSound = -1;
};
