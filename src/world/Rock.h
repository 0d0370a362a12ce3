#pragma once
// A rock: a low cylinder that blocks units and stops flame balls.
#include "world/WorldObject.h"

class Rock : public WorldObject {
public:
    Rock();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    bool IsSaved() const override { return true; }
};
