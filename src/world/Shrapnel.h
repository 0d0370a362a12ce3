#pragma once
// One shotgun burst of five fragments. Every fragment's path is tested when the burst is
// fired; a fragment that meets an object explodes there. The burst then lives on only to
// show its smoke trails.
#include <cstdint>
#include <span>

#include "world/SmokeSystem.h"
#include "world/WorldObject.h"

class Arena;
class Player;
class Vorn;

class Shrapnel : public WorldObject {
public:
    static constexpr int kFragmentCount = 5;
    static constexpr float kRadius = 0.25f;
    // Fragments fly this high over the ground.
    static constexpr float kHeightAboveGround = 2.5f;
    // Each fragment's path is tested in this many straight pieces over the terrain.
    static constexpr int kSegmentCount = 4;

    Shrapnel();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    // After the burst is placed and headed: the end points are the targets' images
    // nearest the burst; up to five are used.
    void Fire(Vorn* firingUnit, std::span<const Vector3> targets);
    // One fragment's blast at the point, credited to the player.
    void HitAt(Player* player, const Vector3& point);
    // The arena tells every burst when its shooter leaves the world.
    static void WatchShooters(Arena& arena);

    Player* owner = nullptr;  // the shooter's player; not owned
    Vorn* shooter = nullptr;  // not owned; cleared when the unit leaves the world
    int32_t sound = -1;
    Vector3 endPoints[kFragmentCount];
    SmokeSystem burstSmoke;
    SmokeSystem trails[kFragmentCount];
    int32_t trailCount = 0;  // trails started so far

private:
    // The fragment's end after its path test: the end point, or the first hit on the way.
    Vector3 TestFragment(const Vector3& end);
    void StartTrail(const Vector3& end);
};
