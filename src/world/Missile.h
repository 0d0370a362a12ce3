#pragma once
// A missile in flight.
#include "world/WorldObject.h"

class Player;

class Missile : public WorldObject {
public:
    Missile();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    Player* owner = nullptr;  // the firing unit's player; not owned
    Vector3 target;           // the point the missile was launched at
};
