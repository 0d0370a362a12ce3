#pragma once
// A beacon: the ground marker that a unit's beacon setter puts down. Patterns refer to
// the own player's beacon; it takes no damage and is not saved with a scenario.
#include "world/WorldObject.h"

class Player;
class Vorn;

class Beacon : public WorldObject {
public:
    static constexpr float kRadius = 1.65f;

    Beacon();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    // On the ground under the point; the sphere follows.
    void PlaceAt(const Vector3& point) override;
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;

    // The unit that set the beacon, and that unit's player, whose texture draws it.
    void SetOwner(Vorn* unit);

    Vorn* owner = nullptr;          // the unit that set it; not owned
    Player* ownerPlayer = nullptr;  // draws it with its beacon texture
    Vector3 savedPosition;          // read by the pattern matcher
};
