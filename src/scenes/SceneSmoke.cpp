// Rising smoke puffs.
#include "scenes/SceneSmoke.h"
#include "scenes/SceneMaterials.h"

#include <algorithm>
#include <cmath>

#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"

namespace {

Material* gSmokeMaterial = nullptr;

}  // namespace

SceneSmoke::SceneSmoke(int32_t puffCount) : ages_(size_t(std::max(puffCount, 1)), 0.0f) {
    particles.SetSize(int32_t(ages_.size()));
    for (Particle& puff : particles) {
        puff.alive = 0;
    }
    usesParticleSizes = true;
    usesParticleColours = true;
}

SceneSmoke::~SceneSmoke() {
    if (mesh != nullptr && GetRenderer().HasDevice()) {
        GetRenderer().DestroyParticleMesh(*this);
    }
}

void SceneSmoke::ForgetSharedMaterial() { gSmokeMaterial = nullptr; }

void SceneSmoke::StartEmitting(const Vector3& origin, const Vector3& direction, float size, float interval) {
    origin_ = origin;
    direction_ = direction;
    puffSize = size;
    interval_ = std::max(interval, 0.01f);
    untilNext_ = 0.0f;
    emitting_ = true;
}

void SceneSmoke::Emit(const Vector3& point, const Vector3& direction) {
    Particle& puff = particles[next_];
    puff.position = point;
    puff.velocity = direction * kDriftSpeed;
    puff.acceleration = Vector3();
    puff.alive = 1;
    ages_[size_t(next_)] = 0.0f;
    next_ = (next_ + 1) % particles.Count();
}

void SceneSmoke::Advance(float frameTime) {
    if (emitting_) {
        untilNext_ -= frameTime;
        while (untilNext_ <= 0.0f) {
            Emit(origin_, direction_);
            untilNext_ += interval_;
        }
    }
    for (int32_t i = 0; i < particles.Count(); ++i) {
        Particle& puff = particles[i];
        if (!puff.alive) {
            continue;
        }
        float& age = ages_[size_t(i)];
        age += frameTime;
        if (age >= kLifeSeconds) {
            puff.alive = 0;
            continue;
        }
        puff.Step(frameTime);
        const float t = age / kLifeSeconds;
        puff.size = puffSize * (0.4f + t);
        const uint8_t alpha = uint8_t(std::lround(200.0f * (1.0f - t)));
        puff.colour = Color::FromRGBA(200, 200, 200, alpha);
    }
}

int32_t SceneSmoke::LivePuffs() const {
    return int32_t(std::count_if(particles.begin(), particles.end(), [](const Particle& p) { return p.alive != 0; }));
}

void SceneSmoke::Draw(bool overEverything) {
    Renderer& renderer = GetRenderer();
    if (gSmokeMaterial == nullptr) {
        gSmokeMaterial = CreateSceneMaterial("SmokeTexture.tga");
    }
    material = gSmokeMaterial;
    if (mesh == nullptr) {
        renderer.CreateParticleMesh(*this);
    }
    gfx::Device& device = renderer.GetDevice();
    renderer.SetWorldMatrix(Matrix4());
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    renderer.SetZWrite(false);
    if (overEverything) {
        device.SetRenderState(gfx::RenderState::ZFunc, uint32_t(gfx::Compare::Always));
    }
    renderer.DrawParticles(*this);
    if (overEverything) {
        device.SetRenderState(gfx::RenderState::ZFunc, uint32_t(gfx::Compare::LessEqual));
    }
    renderer.SetZWrite(true);
    renderer.SetBlendOff();
    renderer.EnableLighting();
}
