#pragma once
// The growing sphere of an explosion.
#include "world/Field.h"

class ExplosionField : public Field {
public:
    ExplosionField();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
