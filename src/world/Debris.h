#pragma once
// A piece of a destroyed object, bouncing until it settles.
#include "world/WorldObject.h"

class Debris : public WorldObject {
public:
    Debris();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
