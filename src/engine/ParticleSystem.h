#pragma once
// A small burst of particles thrown out from one point, falling under gravity. Effects
// own one each, fill its particles, reset it when they start, update it every tick and
// hand it to the renderer, which draws the live particles as camera-facing quads.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Vector3.h"
#include "engine/RendererRef.h"

class DynamicMesh;
class Material;

struct Particle {
    // position += dt x velocity, then velocity += dt x acceleration.
    void Step(float dt);

    Vector3 position;
    Vector3 velocity;
    Vector3 acceleration;
    Color colour{0xFFFFFFFFu};
    uint8_t alive = 1;  // only live particles are drawn
    float size = 1.0f;  // used when the system draws per-particle sizes
};

class ParticleSystem {
public:
    ParticleSystem() = default;
    virtual ~ParticleSystem() = default;

    // Every particle at the origin with a random velocity (x in [-1.01, 1], y and z in
    // [-1, 1]), gravity 9.8 downwards, white and alive.
    virtual void Reset(const Vector3& origin);
    // Steps every particle, live or not.
    virtual void Update(float dt);
    void SetColor(Color colour);

    Array<Particle> particles;
    // Owned by the renderer, emptied when it frees them (a pooled system outlives a restart).
    RendererRef<Material> material;  // none draws untextured
    RendererRef<DynamicMesh> mesh;   // the quad the renderer draws each particle with
    float particleSize = 1.0f;     // the quad's side, unless per-particle sizes are used
    bool usesParticleSizes = false;
    bool usesParticleColours = false;
};
