#pragma once
// A laser shot in flight.
#include "core/Color.h"
#include "world/WorldObject.h"

class Player;

class LaserBeam : public WorldObject {
public:
    LaserBeam();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    Player* owner = nullptr;   // the firing unit's player; not owned
    Vector3 target;            // the point the beam was fired at
    Vector3 direction;         // horizontal unit vector, fixed on the first update
    Vector3 start;             // where the beam left the weapon
    bool started = false;
    float travelled = 0.0f;    // seconds flown
    Color trailColour;
};
