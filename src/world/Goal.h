#pragma once
// A player's soccer goal. It finds a loose ball or a ball carrier inside it and hands
// the ball over for scoring. It takes no damage and is saved with a scenario.
#include "engine/TextureHandle.h"
#include "world/WorldObject.h"

class Player;

class Goal : public WorldObject {
public:
    static constexpr float kRadius = 2.5f;
    static constexpr int kTextureCount = 8;

    Goal();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    // Collects the carriers and balls inside the goal, then scores them.
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    float GetRadius() const override { return 3.125f; }
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    bool IsSaved() const override { return true; }

    // "Goal0.tga" to "Goal7.tga", loaded once for the players' goal images; none when
    // the index is outside 0..7 or the file is missing.
    static TextureHandle GoalTexture(int index);

    Player* owner = nullptr;  // whose goal it is; not owned
    Vector3 savedPosition;    // read by the pattern matcher
};
