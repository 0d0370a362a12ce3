// The worm strand.
#include "engine/WormStrand.h"

#include <algorithm>
#include <cmath>

#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"

WormStrand::WormStrand() {
    particles.SetSize(kParticleCount);
    particleSize = kSparkleSize;
    usesParticleColours = true;
    for (int32_t i = 0; i < kParticleCount; ++i) {
        ages[i] = -float(i) / float(kParticleCount) * kLifeSeconds;
        particles[i].alive = 0;
        particles[i].colour = kColour;
    }
}

void WormStrand::Advance(float frameSeconds) {
    for (int32_t i = 0; i < kParticleCount; ++i) {
        ages[i] += frameSeconds;
        if (!active[i] && ages[i] > 0.0f) {
            // The strand's angle when the sparkle's age passed 0 within this frame; written
            // without dividing by the frame time, which may be 0.
            const float bornAngle = angle + kTurnPerSecond * (frameSeconds - ages[i]);
            directions[i] = Vector3(std::cos(bornAngle), 0.0f, std::sin(bornAngle));
            active[i] = true;
        }
        if (active[i] && ages[i] > kLifeSeconds) {
            active[i] = false;
            ages[i] -= kLifeSeconds;
        }
        Particle& particle = particles[i];
        particle.alive = active[i] ? 1 : 0;
        if (active[i]) particle.position = directions[i] * (ages[i] + kStartDistance);
        const float fade = std::clamp(1.0f - ages[i] / kLifeSeconds, 0.0f, 1.0f);
        particle.colour =
            Color::FromRGBA(kColour.Red(), kColour.Green(), kColour.Blue(), uint8_t(std::lround(fade * 255.0f)));
    }
    angle += kTurnPerSecond * frameSeconds;
}

void WormStrand::Fill() {
    for (int32_t i = 0; i < kParticleCount; ++i) {
        ages[i] += kLifeSeconds;
        active[i] = false;
    }
}

void WormStrand::CreateResources() {
    if (mesh != nullptr) return;
    Renderer& renderer = GetRenderer();
    material = renderer.CreateTexturedMaterial(TexturePath("WhiteBall.tga"), -1, -1);
    renderer.CreateParticleMesh(*this);
}

void WormStrand::Draw() {
    CreateResources();
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    renderer.SetAlphaBlend();
    device.SetRenderState(gfx::RenderState::ZWriteEnable, 0u);
    renderer.DisableLighting();
    renderer.DrawParticles(*this);
    device.SetRenderState(gfx::RenderState::ZWriteEnable, 1u);
    renderer.EnableLighting();
    renderer.SetBlendOff();
}
