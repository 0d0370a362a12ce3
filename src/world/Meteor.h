#pragma once
// A meteor of the meteor shower.
#include "world/WorldObject.h"

class Meteor : public WorldObject {
public:
    Meteor();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
};
