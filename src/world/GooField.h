#pragma once
// A field of goo that slows units.
#include "world/Field.h"

class GooField : public Field {
public:
    GooField();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
