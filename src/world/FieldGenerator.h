#pragma once
// A launched generator that raises a field where it lands.
#include "world/WorldObject.h"

class FieldGenerator : public WorldObject {
public:
    FieldGenerator();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
