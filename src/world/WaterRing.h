#pragma once
// A ring spreading on water.
#include "world/WorldObject.h"

class WaterRing : public WorldObject {
public:
    WaterRing();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
