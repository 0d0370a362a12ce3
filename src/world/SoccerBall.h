#pragma once
// The soccer ball.
#include "world/WorldObject.h"

class SoccerBall : public WorldObject {
public:
    SoccerBall();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    bool IsSaved() const override { return true; }
};
