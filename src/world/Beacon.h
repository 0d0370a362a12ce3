#pragma once
// A beacon: a ground marker that patterns can refer to.
#include "world/WorldObject.h"

class Beacon : public WorldObject {
public:
    Beacon();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
