#pragma once
// A solar charger: a cylinder that units recharge at.
#include "world/WorldObject.h"

class SolarCharger : public WorldObject {
public:
    SolarCharger();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    bool IsSaved() const override { return true; }
};
