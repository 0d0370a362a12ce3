#include "world/SmokeSystem.h"

#include <cmath>

#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/sys/Random.h"

namespace {

constexpr const char* kTextureNames[SmokeSystem::kTextureCount] = {"SmokeTexture.tga", "SmokeTexture2.tga",
                                                                   "SmokeTexture3.tga", "SmokeTexture4.tga"};
constexpr float kEmitterSize = 2.0f;
constexpr float kRiseAcceleration = 3.5f;
constexpr float kFirstLife = 0.5f;
constexpr float kLifeStep = 0.12f;
// A puff shows only in the last half second of its life.
constexpr float kShowTime = 0.5f;

// Loaded at the first drawing, not at construction: the pools make every smoke system at
// start-up, and a simulation that never draws needs no texture files.
RendererRef<Material> gSmokeMaterials[SmokeSystem::kTextureCount];

Material* SmokeMaterial(int index) {
    if (gSmokeMaterials[index] == nullptr) {
        gSmokeMaterials[index] = GetRenderer().CreateTexturedMaterial(TexturePath(kTextureNames[index]), -1, -1);
    }
    return gSmokeMaterials[index];
}

float FrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

}  // namespace

SmokeSystem::SmokeSystem() = default;

SmokeSystem::~SmokeSystem() {
    // The pools destroy and remake objects on every take; the quads must go with them
    // or the renderer's list of dynamic meshes grows for the whole run.
    for (ParticleSystem& emitter : emitters) {
        if (emitter.mesh != nullptr) GetRenderer().DestroyParticleMesh(emitter);
    }
}

void SmokeSystem::Start() {
    for (ParticleSystem& emitter : emitters) {
        // Indices 1 and 2 come twice as often as 0 and 3.
        textureIndices[&emitter - emitters] = (sys::Rand() + 5461) * 3 / sys::kRandMax;
        emitter.particles.Clear();
        emitter.particles.Append(Particle());
        emitter.particleSize = kEmitterSize;
        emitter.usesParticleColours = true;
    }
}

void SmokeSystem::Emit(const Vector3& centre) {
    for (int i = 0; i < kEmitterCount; ++i) {
        Particle& p = emitters[i].particles[0];
        const float x = RandomFloatBetween(-0.5f, 0.5f);
        const float y = RandomFloatBetween(-0.5f, 0.5f);
        const float z = RandomFloatBetween(-0.5f, 0.5f);
        p.position = centre + Vector3(x, y, z);
        p.velocity = Vector3();
        p.acceleration = Vector3(0.0f, 0.0f, kRiseAcceleration);
        lives[i] = kFirstLife + kLifeStep * float(i);
    }
}

bool SmokeSystem::Update() {
    const float dt = FrameTime();
    bool showing = false;
    for (int i = 0; i < kEmitterCount; ++i) {
        lives[i] -= dt;
        if (!IsShowing(i)) continue;
        const float t = 2.0f * lives[i];
        ParticleSystem& emitter = emitters[i];
        emitter.SetColor(Color::FromRGBA(255, 255, 255, uint8_t(std::floor(255.0f * t))));
        Particle& p = emitter.particles[0];
        p.Step(dt);
        emitter.particleSize = 2.0f * (1.0f - t) * baseSize;
        showing = true;
    }
    return showing;
}

void SmokeSystem::SetSize(float size) {
    baseSize = size;
    for (ParticleSystem& emitter : emitters) emitter.particleSize = 2.0f * size;
}

bool SmokeSystem::IsShowing(int i) const { return lives[i] > 0.0f && lives[i] < kShowTime; }

void SmokeSystem::Draw() {
    Renderer& renderer = GetRenderer();
    for (int i = 0; i < kEmitterCount; ++i) {
        if (!IsShowing(i)) continue;
        emitters[i].material = SmokeMaterial(textureIndices[i]);
        renderer.DrawParticles(emitters[i]);
    }
}
