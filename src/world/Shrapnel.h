#pragma once
// A shrapnel fragment in flight.
#include "world/WorldObject.h"

class Shrapnel : public WorldObject {
public:
    Shrapnel();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
