#pragma once
// A ball of flame in flight; only rocks stop it.
#include "world/WorldObject.h"

class Player;

class FlameBall : public WorldObject {
public:
    FlameBall();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    Player* owner = nullptr;  // the firing unit's player; not owned
    float range = 0.0f;       // distance the ball may fly
    bool started = false;
    Vector3 target;
    Vector3 start;            // copied from the position on the first update
    Vector3 direction;
    Vector3 launchPoint;
    float clock = 0.0f;       // seconds of flight, later of lingering
    int32_t stopped = 0;      // 1 once the ball hit something or reached its range
};
