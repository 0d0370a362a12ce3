#pragma once
// A ball of flame in flight; only rocks stop it.
#include "world/WorldObject.h"

class FlameBall : public WorldObject {
public:
    FlameBall();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
