#pragma once
// A ball of flame in flight: it flies straight toward its target point, grows as it
// flies, stops at the first rock or at its range, lingers half a second and burns what
// its path sweeps through. Only rocks stop it.
#include <cstdint>

#include "engine/ParticleSystem.h"
#include "world/WorldObject.h"

class Player;

class FlameBall : public WorldObject {
public:
    static constexpr float kSpeed = 22.5f;
    static constexpr float kFullRange = 20.0f;
    // The longest flight: the full range at the ball's speed.
    static constexpr float kMaxFlightTime = kFullRange / kSpeed;
    static constexpr float kLingerTime = 0.5f;
    static constexpr int kFrameCount = 6;

    FlameBall();
    ~FlameBall() override;

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    // Blasts do not harm it.
    void TakeDamage(Player*, const Vector3&, float, int) override {}
    void Remove(int explode) override;

    // The collision radius and the glow's size (twice the radius).
    void SetRadius(float r);

    Player* owner = nullptr;  // the firing unit's player; not owned
    float range = 0.0f;       // distance the ball may fly
    bool started = false;
    Vector3 target;
    Vector3 start;  // copied from the position on the first update
    Vector3 direction;
    Vector3 launchPoint;
    float clock = 0.0f;   // seconds of flight, later of lingering
    int32_t stopped = 0;  // 1 once the ball hit something or reached its range
    ParticleSystem glow;
    int32_t frame = 0;  // the shared material the glow shows next

private:
    // False when neither the target nor the heading gives a direction.
    bool FixDirection();
    // The flight of one update; the answer is the part of the flight that burns.
    float Fly(float budget);
};
