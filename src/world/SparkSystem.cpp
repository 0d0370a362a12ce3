#include "world/SparkSystem.h"

#include <algorithm>
#include <cmath>

#include "core/Gravity.h"
#include "core/MathUtil.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/sys/Random.h"

namespace {

constexpr int kTextureCount = 3;
constexpr const char* kTextureNames[kTextureCount] = {"LaserBall1.tga", "LaserBall2.tga", "LaserBall3.tga"};
constexpr float kSparkSize = 0.4f;
constexpr float kStagger = 0.05f;  // seconds between the three sparks
constexpr float kBurnTime = 1.0f;
const Color kSparkColour = Color::FromRGBA(255, 182, 82, 255);

// Loaded at the first drawing: the pools make every spark system at start-up.
RendererRef<Material> gSparkMaterials[kTextureCount];

Material* SparkMaterial(int index) {
    if (gSparkMaterials[index] == nullptr) {
        gSparkMaterials[index] = GetRenderer().CreateTexturedMaterial(TexturePath(kTextureNames[index]), -1, -1);
    }
    return gSparkMaterials[index];
}

}  // namespace

SparkSystem::SparkSystem() { Reset(); }

SparkSystem::~SparkSystem() {
    // Pooled owners are remade on every take; the quad goes with the system.
    if (mesh != nullptr) GetRenderer().DestroyParticleMesh(*this);
}

void SparkSystem::Reset() {
    // Index 1 comes twice as often as 0 and 2.
    textureIndex = (2 * sys::Rand() + 16383) / sys::kRandMax;
    particles.Clear();
    for (int i = 0; i < kParticleCount; ++i) {
        Particle p;
        p.colour = kSparkColour;
        particles.Append(p);
        ages[i] = -kStagger * float(i);
    }
    particleSize = kSparkSize;
    usesParticleColours = true;
}

void SparkSystem::Start(const Vector3& startOrigin, const Vector3& direction) {
    origin = startOrigin;
    const float x = RandomFloatBetween(-3.0f, 3.0f);
    const float y = RandomFloatBetween(-3.0f, 3.0f);
    const float z = RandomFloatBetween(0.0f, 3.0f);
    launchVelocity = Vector3(0.0f, 0.0f, 10.0f) + direction * 4.0f + Vector3(x, y, z);
}

bool SparkSystem::Update() {
    const Game* game = CurrentGame();
    const float dt = game != nullptr ? game->frameTime : 0.0f;
    for (int i = 0; i < kParticleCount; ++i) {
        ages[i] += dt;
        const float age = ages[i];
        particles[i].position = origin + (launchVelocity + Vector3(0.0f, 0.0f, -kGravity) * age) * age;
    }
    // All three fade by the first spark's age, the later ones a little ahead.
    for (int i = 0; i < kParticleCount; ++i) {
        const float fade = std::clamp(1.0f - (kStagger * float(i) + ages[0]), 0.0f, 1.0f);
        particles[i].colour.SetAlpha(uint8_t(std::floor(255.0f * fade)));
    }
    return ages[0] <= kBurnTime;
}

void SparkSystem::Draw() {
    material = SparkMaterial(textureIndex);
    GetRenderer().DrawParticles(*this);
}
