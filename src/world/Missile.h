#pragma once
// A missile in flight.
#include "world/WorldObject.h"

class Missile : public WorldObject {
public:
    Missile();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
