#pragma once
// A puff of fire.
#include "world/WorldObject.h"

class FirePuff : public WorldObject {
public:
    FirePuff();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
