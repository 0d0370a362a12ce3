#include "world/FirePuff.h"

#include <algorithm>
#include <map>
#include <string>

#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Game.h"

namespace {

constexpr float kGlowCycle = 2.0f;  // seconds of a glow or smoke particle
constexpr float kSparkCycle = 0.8f;
constexpr float kSpread = 0.6f;
constexpr float kSparkSpeed = 16.0f;
const Color kGlowColour = Color::FromRGBA(32, 12, 4, 255);
const Color kSmokeColour = Color::FromRGBA(64, 64, 64, 48);
const Color kSparkColour = Color::FromRGBA(255, 255, 255, 255);

// One material per texture file for all puffs, made at the first drawing: the pools make
// every puff at start-up and on every take, and a simulation that never draws needs no
// texture files. The renderer's release empties them, and the next drawing makes them anew.
Material* SharedMaterial(const String& name) {
    static std::map<std::string, RendererRef<Material>> materials;
    RendererRef<Material>& material = materials[name.CStr()];
    if (material == nullptr) material = GetRenderer().CreateTexturedMaterial(TexturePath(name), -1, -1);
    return material;
}

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

float Spread() { return RandomFloatBetween(-kSpread, kSpread); }

}  // namespace

FirePuff::FirePuff() {
    kind = kKindFirePuff;
    WorldObject::SetHealth(1.0f);
    shape.SetSphere(Vector3(), 1.0f);
    Reset();
}

FirePuff::~FirePuff() {
    // Pooled puffs are remade on every take; the quad goes with the puff.
    if (particles.mesh != nullptr) GetRenderer().DestroyParticleMesh(particles);
}

void FirePuff::Reset() {
    texture = "WhiteBall.tga";
    particles.particles.Clear();
    for (int i = 0; i < kParticleCount; ++i) particles.particles.Append(Particle());
    particles.particleSize = 1.0f;
    particles.usesParticleSizes = true;
    particles.usesParticleColours = true;
    std::fill(std::begin(ages), std::end(ages), 0.0f);
    std::fill(std::begin(finished), std::end(finished), false);
    ending = false;
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void FirePuff::Start(const Vector3& point, float size, const String& textureName) {
    shape.SetSphere(point, size);
    PlaceAt(point);
    particles.particleSize = 2.0f * size;
    texture = textureName;
    for (int i = 0; i < kParticleCount; ++i) RestartParticle(i);
}

void FirePuff::RestartParticle(int i) {
    Particle& p = particles.particles[i];
    p.alive = 0;
    if (style == kStyleSparks) {
        p.position = Vector3();
        const float x = Spread();
        const float y = Spread();
        const float z = Spread();
        p.velocity = Vector3(x, y, z) * kSparkSpeed;
        p.acceleration = Vector3();
        ages[i] = RandomFloatBetween(-kSparkCycle, 0.0f);
        return;
    }
    const float x = Spread();
    const float y = Spread();
    const float z = Spread();
    p.position = Vector3(x, y, z);
    p.velocity = Vector3();
    p.acceleration = Vector3(0.0f, 0.0f, 3.0f + RandomFloatBetween(0.0f, 1.0f));
    ages[i] = RandomFloatBetween(-kGlowCycle, 0.0f);
}

void FirePuff::StepParticle(int i, float dt, float cycle, float fadeRate, Color colour) {
    ages[i] += dt;
    if (ages[i] > cycle) {
        if (ending) finished[i] = true;
        RestartParticle(i);
        ages[i] = 0.0f;
    }
    if (ages[i] <= 0.0f) return;
    const float t = std::min(ages[i] * fadeRate, 1.0f);
    Particle& p = particles.particles[i];
    p.colour = colour;
    p.Step(dt);
    p.alive = 1;
    p.size = 2.0f * shape.Radius() * (1.0f - t);
}

void FirePuff::Update(bool) {
    if (active && style >= 0) {
        const float dt = FrameTime();
        if (style == kStyleSparks) {
            elapsed += dt;
            if (elapsed > duration) ending = true;
        }
        for (int i = 0; i < kParticleCount; ++i) {
            if (finished[i]) continue;
            if (style == kStyleSparks) {
                StepParticle(i, dt, kSparkCycle, 1.0f / kSparkCycle, kSparkColour);
            } else {
                StepParticle(i, dt, kGlowCycle, 0.5f, style == kStyleGlow ? kGlowColour : kSmokeColour);
            }
        }
        if (std::all_of(std::begin(finished), std::end(finished), [](bool f) { return f; })) Remove(0);
    }
    SpendAllTime();
}

void FirePuff::Draw(const Vector3& point) {
    Renderer& renderer = GetRenderer();
    Matrix4 world;
    world.SetTranslation(point);
    renderer.SetWorldTransform(world);
    if (style == kStyleSmoke) {
        renderer.SetAlphaBlend();
    } else {
        renderer.SetAdditiveBlend();
    }
    particles.material = SharedMaterial(texture);
    renderer.DrawParticles(particles);
    renderer.SetBlendOff();
}
