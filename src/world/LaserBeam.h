#pragma once
// A laser shot in flight.
#include "world/WorldObject.h"

class LaserBeam : public WorldObject {
public:
    LaserBeam();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
