#pragma once
// A field of static that disturbs units.
#include "world/Field.h"

class StaticField : public Field {
public:
    StaticField();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
