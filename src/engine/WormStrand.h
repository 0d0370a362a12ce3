#pragma once
// The worm strand that the worm-hole actor of the cut-scenes draws: an arm of fading
// sparkles emitted every 2.2 / 36 s along a direction that turns at 2 radians a second,
// drifting outwards at one unit a second and fading out over 2.2 s.
#include <cstdint>

#include "engine/ParticleSystem.h"

class WormStrand : public ParticleSystem {
public:
    static constexpr int32_t kParticleCount = 36;
    static constexpr float kLifeSeconds = 2.2f;
    static constexpr float kTurnPerSecond = 2.0f;
    static constexpr float kStartDistance = 0.4f;
    static constexpr float kSparkleSize = 0.2f;
    static constexpr Color kColour = Color(0xFFC814C8);

    WormStrand();

    void Advance(float frameSeconds);
    // Every sparkle a whole life older and waiting: the next advance gives birth to all
    // of them at once along the whole arm.
    void Fill();
    // The renderer's material and mesh, once.
    void CreateResources();
    // Blended, without depth writes or lighting.
    void Draw();

    float ages[kParticleCount] = {};
    bool active[kParticleCount] = {};
    Vector3 directions[kParticleCount];
    float angle = 0.0f;
};
