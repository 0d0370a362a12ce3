#pragma once
// A scorch mark on the ground.
#include "world/WorldObject.h"

class ScorchMark : public WorldObject {
public:
    ScorchMark();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
