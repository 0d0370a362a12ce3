// Rising smoke puffs.
#include "scenes/SceneSmoke.h"
#include "scenes/SceneMaterials.h"

#include <algorithm>
#include <cmath>

#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"

SceneSmoke::SceneSmoke() {
    particles.SetSize(kPuffCount);
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

void SceneSmoke::StartEmitting(const Vector3& origin, float size, float interval) {
    origin_ = origin;
    puffSize = size;
    interval_ = std::max(interval, 0.01f);
    untilNext_ = 0.0f;
    emitting_ = true;
}

void SceneSmoke::Emit(const Vector3& point) {
    Particle& puff = particles[next_];
    puff.position = point;
    puff.velocity = Vector3(0.0f, 0.0f, kRiseSpeed);
    puff.acceleration = Vector3();
    puff.alive = 1;
    ages_[next_] = 0.0f;
    next_ = (next_ + 1) % kPuffCount;
}

void SceneSmoke::Advance(float frameTime) {
    if (emitting_) {
        untilNext_ -= frameTime;
        while (untilNext_ <= 0.0f) {
            Emit(origin_);
            untilNext_ += interval_;
        }
    }
    for (int32_t i = 0; i < kPuffCount; ++i) {
        Particle& puff = particles[i];
        if (!puff.alive) {
            continue;
        }
        ages_[i] += frameTime;
        if (ages_[i] >= kLifeSeconds) {
            puff.alive = 0;
            continue;
        }
        puff.Step(frameTime);
        const float t = ages_[i] / kLifeSeconds;
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
    if (mesh == nullptr) {
        material = CreateSceneMaterial("SmokeTexture.tga");
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
