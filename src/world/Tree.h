#pragma once
// A tree: a tall cylinder that burns and falls.
#include "world/WorldObject.h"

class Tree : public WorldObject {
public:
    Tree();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    bool IsSaved() const override { return true; }
};
