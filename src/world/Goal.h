#pragma once
// A goal of one player.
#include "world/WorldObject.h"

class Player;

class Goal : public WorldObject {
public:
    Goal();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    bool IsSaved() const override { return true; }

    Player* owner = nullptr;  // whose goal it is; not owned
};
