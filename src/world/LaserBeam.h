#pragma once
// A laser shot in flight: it runs level over the ground at 40 units a second toward its
// target and explodes on the first solid object in its way, or fades out at its range.
#include <cstdint>

#include "core/Color.h"
#include "engine/ParticleSystem.h"
#include "world/WorldObject.h"

class Player;

class LaserBeam : public WorldObject {
public:
    static constexpr float kSpeed = 40.0f;
    // 50 x sqrt(2): the diagonal of a 50 x 50 square.
    static constexpr float kRange = 70.71068f;
    static constexpr float kRadius = 0.5f;
    static constexpr float kHeightAboveGround = 2.5f;
    static constexpr int kTrailCount = 5;
    static constexpr int kFrameCount = 6;

    LaserBeam();
    ~LaserBeam() override;

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void OnCollide(WorldObject* other, const Vector3& contactPoint) override;
    void Update(bool paused) override;
    // explode != 0: a blast of the owner's laser damage at the beam (never on a client).
    void Remove(int explode) override;

    void SetParticleColor(const Color& colour);

    Player* owner = nullptr;  // the firing unit's player; not owned
    Vector3 target;           // the point the beam was fired at
    Vector3 direction;        // horizontal unit vector, fixed on the first update
    Vector3 start;            // where the beam left the weapon
    bool started = false;
    float travelled = 0.0f;  // seconds flown
    Color trailColour;
    int32_t sound = -1;  // one of the four laser sounds
    ParticleSystem trail;
    int32_t frame = 0;  // the shared material the trail shows next

private:
    // False when neither the target nor the heading gives a direction.
    bool FixDirection();
};
