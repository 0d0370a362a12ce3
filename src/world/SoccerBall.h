#pragma once
// The soccer ball: flies under gravity, bounces, rolls downhill, slows in goo and soft
// ground, is picked up by the units that touch it, is pushed by damage, and scores when
// it comes to rest in a goal. A scored ball is replaced by a new one from the sky.
#include <cstdint>

#include "core/Quaternion.h"
#include "core/Vector2.h"
#include "world/WorldObject.h"

class SoccerBall : public WorldObject {
public:
    static constexpr float kRadius = 0.75f;

    SoccerBall();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    // A touching unit on the ground picks the ball up.
    void OnCollide(WorldObject* other, const Vector3& contactPoint) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    // A push away from the hit point; health is not touched.
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    float GetRadius() const override { return 1.3125f; }
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    bool IsSaved() const override { return true; }
    void OnPlaced() override;

    // Credits the last kicker (an own goal takes one away), sets off the fireworks, tells
    // the game and, unless a network client, replaces the ball by one from the sky.
    void ScoreGoal(Player* owner);
    void EmitGoalSpark(float size);
    // v - 2 (v . n) n.
    static Vector3 Reflect(const Vector3& v, const Vector3& n);

    Quaternion orientation;        // rolling rotation
    float drag = 1.0f;             // 2.0 for a tick spent in goo
    bool wet = false;              // touched swamp or water in the last completed move
    bool inGoal = false;           // found inside a goal during this tick
    Player* goalOwner = nullptr;   // not owned
    Vector2 goalPoint;             // where the goal found the ball
    Player* lastKicker = nullptr;  // credited with the last touch; not owned
    int32_t kickSound = -1;
    int32_t popSound = -1;
    int32_t bounceSound = -1;
    int32_t wetSound = -1;
    int32_t fireworksSound = -1;
    float lastReportTime = 0.0f;  // game time of the last report to the peers

private:
    struct Step;
    void Advance(Step& step);
    void Fly(Step& step);
    void Roll(Step& step);
    void SpinAndMove(Step& step);
    void SlowDown(Step& step);
    void CheckGoal(const Step& step);
};
