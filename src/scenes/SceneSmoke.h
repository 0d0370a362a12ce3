#pragma once
// Smoke of the cut-scenes: puffs that rise from where they were let out, grow and fade.
// An emitting system lets a puff out at its interval by itself; a missile lets them out
// one by one along its path.
#include <cstdint>

#include "core/Vector3.h"
#include "engine/ParticleSystem.h"

class SceneSmoke : public ParticleSystem {
public:
    static constexpr int32_t kPuffCount = 24;
    static constexpr float kLifeSeconds = 1.2f;
    static constexpr float kRiseSpeed = 1.5f;

    SceneSmoke();
    ~SceneSmoke() override;
    SceneSmoke(const SceneSmoke&) = delete;
    SceneSmoke& operator=(const SceneSmoke&) = delete;

    // Lets a puff out at the origin every interval from now on.
    void StartEmitting(const Vector3& origin, float puffSize, float interval);
    // One puff at the point (the oldest is reused when all are in the air).
    void Emit(const Vector3& point);
    void Advance(float frameTime);
    // Blended, without lighting or depth writes; with overEverything the depth test
    // passes always.
    void Draw(bool overEverything);
    int32_t LivePuffs() const;

    float puffSize = 1.0f;

private:
    float ages_[kPuffCount] = {};
    int32_t next_ = 0;
    bool emitting_ = false;
    Vector3 origin_;
    float interval_ = 0.05f;
    float untilNext_ = 0.0f;
};
