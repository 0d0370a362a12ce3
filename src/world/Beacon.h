#pragma once
// A beacon: a ground marker that patterns can refer to.
#include "world/WorldObject.h"

class Player;
class Vorn;

class Beacon : public WorldObject {
public:
    Beacon();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    Vorn* owner = nullptr;          // the unit that set it; not owned
    Player* ownerPlayer = nullptr;  // draws it with its beacon texture
    Vector3 savedPosition;          // read by the pattern matcher
};
