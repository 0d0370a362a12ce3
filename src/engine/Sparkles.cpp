// The sparkle effect.
#include "engine/Sparkles.h"

#include <cmath>
#include <memory>

#include "engine/AssetPaths.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "platform/sys/Random.h"

namespace {

constexpr int kSparkleKinds = 6;

struct SparkleSystems {
    std::unique_ptr<ParticleSystem> systems[kSparkleKinds];
};

SparkleSystems& Sparkles() {
    static SparkleSystems sparkles;
    return sparkles;
}

void BuildSparkles() {
    Renderer& renderer = GetRenderer();
    for (int kind = 0; kind < kSparkleKinds; ++kind) {
        auto system = std::make_unique<ParticleSystem>();
        system->particles.SetSize(1);
        system->usesParticleSizes = true;
        const String texture = TexturePath(String("Sparkle") + String::FromInt(kind) + ".tga");
        system->material = renderer.CreateTexturedMaterial(texture, -1, -1);
        renderer.CreateParticleMesh(*system);
        Sparkles().systems[kind] = std::move(system);
    }
}

}  // namespace

void DrawSparkles(const Vector3& position, float size, float age) {
    if (!(age != 0.0f) || !std::isfinite(age) || !std::isfinite(size)) return;
    if (Sparkles().systems[0] == nullptr) BuildSparkles();
    const int kind = (sys::Rand() * (kSparkleKinds - 1) + sys::kRandMax / 2) / sys::kRandMax;
    ParticleSystem& system = *Sparkles().systems[kind];
    Particle& particle = system.particles[0];
    particle.position = Vector3();
    particle.colour = Color(0xFFFFFFFFu);
    particle.alive = 1;
    particle.size = 2.0f * ((1.0f - age) * size * 1.5f);
    Matrix4 place;
    place.SetTranslation(position);
    Renderer& renderer = GetRenderer();
    renderer.SetWorldTransform(place);
    renderer.DrawParticles(system);
}

void ForgetSparkles() {
    for (auto& system : Sparkles().systems) system.reset();
}
