// Particle bursts.
#include "engine/ParticleSystem.h"

#include "core/Gravity.h"
#include "platform/sys/Random.h"

namespace {

constexpr float kRandMax = float(sys::kRandMax);

// -1..1 from the game's generator.
float SignedRandom() { return 2.0f * float(sys::Rand()) / kRandMax - 1.0f; }

}  // namespace

void Particle::Step(float dt) {
    position += velocity * dt;
    velocity += acceleration * dt;
}

void ParticleSystem::Reset(const Vector3& origin) {
    for (Particle& p : particles) {
        p.position = origin;
        // The three draws go to z, y and x in that order; x spans 2.01 from -1.01, as
        // the effects were tuned with.
        const float z = SignedRandom();
        const float y = SignedRandom();
        const float x = float(sys::Rand()) / kRandMax * 2.01f - 1.01f;
        p.velocity = Vector3(x, y, z);
        p.acceleration = Vector3(0.0f, 0.0f, -kGravity);
        p.colour = Color(0xFFFFFFFFu);
        p.alive = 1;
    }
}

void ParticleSystem::Update(float dt) {
    for (Particle& p : particles) {
        p.Step(dt);
    }
}

void ParticleSystem::SetColor(Color colour) {
    for (Particle& p : particles) {
        p.colour = colour;
    }
}
