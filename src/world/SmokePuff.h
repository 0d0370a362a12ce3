#pragma once
// A puff of smoke.
#include "world/WorldObject.h"

class SmokePuff : public WorldObject {
public:
    SmokePuff();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
