#pragma once
// A field that heals units.
#include "world/Field.h"

class HealthField : public Field {
public:
    HealthField();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
