#pragma once
// A shrapnel fragment in flight.
#include "world/WorldObject.h"

class Player;
class Vorn;

class Shrapnel : public WorldObject {
public:
    Shrapnel();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    static constexpr int kFragmentCount = 5;

    Player* owner = nullptr;   // the shooter's player; not owned
    Vorn* shooter = nullptr;   // not owned
    Vector3 endPoints[kFragmentCount];
};
