#pragma once
// A trail of three sparks thrown up from a point and falling back, fading out together
// within a second. Explosion fields hold three.
#include "engine/ParticleSystem.h"

class SparkSystem : public ParticleSystem {
public:
    static constexpr int kParticleCount = 3;

    SparkSystem();
    ~SparkSystem() override;
    SparkSystem(const SparkSystem&) = delete;
    SparkSystem& operator=(const SparkSystem&) = delete;

    // A random one of the shared spark textures, the three particles orange and staggered.
    void Reset();
    void Start(const Vector3& origin, const Vector3& direction);
    // Advances by the game's frame time; true while the first spark is at most a second old.
    bool Update();
    // Under the current world transform.
    void Draw();

    Vector3 origin;
    Vector3 launchVelocity;
    float ages[kParticleCount] = {};
    int textureIndex = 0;  // into the three shared spark textures
};
