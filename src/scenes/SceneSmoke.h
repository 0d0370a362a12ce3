#pragma once
// Smoke of the cut-scenes: puffs let out at a point along a direction, which drift, grow
// and fade. An emitting system lets a puff out at its interval by itself (an explosion);
// a missile lets them out one by one along its path, spread over a ring of systems.
#include <cstdint>
#include <vector>

#include "core/Vector3.h"
#include "engine/ParticleSystem.h"

class SceneSmoke : public ParticleSystem {
public:
    static constexpr int32_t kPuffCount = 24;
    static constexpr float kLifeSeconds = 1.2f;
    static constexpr float kDriftSpeed = 1.5f;

    explicit SceneSmoke(int32_t puffCount = kPuffCount);
    ~SceneSmoke() override;
    SceneSmoke(const SceneSmoke&) = delete;
    SceneSmoke& operator=(const SceneSmoke&) = delete;

    // Lets a puff out at the origin along the direction every interval from now on.
    void StartEmitting(const Vector3& origin, const Vector3& direction, float puffSize, float interval);
    // One puff at the point, drifting along the direction (the oldest is reused when
    // all are in the air).
    void Emit(const Vector3& point, const Vector3& direction);
    void Advance(float frameTime);
    // Blended, without lighting or depth writes; with overEverything the depth test
    // passes always.
    void Draw(bool overEverything);
    int32_t LivePuffs() const;

    // The material all smoke shares, made at the first drawing; forgotten before the
    // renderer lets its objects go.
    static void ForgetSharedMaterial();

    float puffSize = 1.0f;

private:
    std::vector<float> ages_;
    int32_t next_ = 0;
    bool emitting_ = false;
    Vector3 origin_;
    Vector3 direction_;
    float interval_ = 0.05f;
    float untilNext_ = 0.0f;
};
