// Particle bursts: their throw and fall, and their drawing as one camera-facing quad per
// live particle.
#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/sys/Random.h"

namespace {

TEST(ParticleSystemTest, ResetThrowsFromTheOriginAndUpdateFallsUnderGravity) {
    ParticleSystem system;
    system.particles.SetSize(3);
    system.particles[1].alive = 0;
    system.particles[1].colour = Color(0x12345678u);
    sys::SRand(7);
    system.Reset(Vector3(1, 2, 3));
    // The same draws by hand: z, y, then x for each particle.
    sys::SRand(7);
    for (const Particle& p : system.particles) {
        const float z = 2.0f * float(sys::Rand()) / 32767.0f - 1.0f;
        const float y = 2.0f * float(sys::Rand()) / 32767.0f - 1.0f;
        const float x = float(sys::Rand()) / 32767.0f * 2.01f - 1.01f;
        EXPECT_EQ(p.velocity, Vector3(x, y, z));
        EXPECT_EQ(p.position, Vector3(1, 2, 3));
        EXPECT_EQ(p.acceleration, Vector3(0, 0, -9.8f));
        EXPECT_EQ(p.colour, Color(0xFFFFFFFFu));
        EXPECT_EQ(p.alive, 1);
    }
    const Vector3 start = system.particles[2].velocity;
    system.particles[2].alive = 0;
    system.Update(0.5f);
    // Dead particles move too: the flag only decides drawing.
    const Particle& p = system.particles[2];
    EXPECT_FLOAT_EQ(p.position.x, 1 + 0.5f * start.x);
    EXPECT_FLOAT_EQ(p.position.z, 3 + 0.5f * start.z);
    EXPECT_FLOAT_EQ(p.velocity.z, start.z - 4.9f);
    system.SetColor(Color(0x80FF0000u));
    EXPECT_EQ(system.particles[0].colour, Color(0x80FF0000u));
}

TEST(ParticleSystemTest, EmptySystemTakesEveryOperation) {
    ParticleSystem system;
    system.Reset(Vector3(1, 1, 1));
    system.Update(1.0f);
    system.SetColor(Color());
    Renderer renderer;
    renderer.DrawParticles(system);
    EXPECT_EQ(renderer.GetDevice().Stats().drawCalls, 0u);
}

TEST(ParticleDrawingTest, TheParticleMeshIsOneQuadWithTheSystemsMaterial) {
    Renderer renderer;
    ParticleSystem system;
    system.material = renderer.CreateMaterial();
    system.material->stages.Append(TextureStageSettings());
    system.usesParticleColours = true;
    renderer.CreateParticleMesh(system);
    DynamicMesh* mesh = system.mesh;
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertices.Count(), 4);
    EXPECT_EQ(mesh->faces.Count(), 2);
    EXPECT_EQ(mesh->material, system.material);
    EXPECT_TRUE(mesh->hasColors);
    EXPECT_EQ(mesh->texCoordSetCount, 1);
    EXPECT_EQ(mesh->vertices[2].texCoords[0], Vector2(1, 1));
    EXPECT_EQ(mesh->faces[1].corners[2], &mesh->vertices[3]);
    EXPECT_TRUE(mesh->HasBuffers());
    renderer.CreateParticleMesh(system);
    EXPECT_EQ(system.mesh, mesh);

    // A material switched on the system reaches the quad at the next draw.
    Material* twoStages = renderer.CreateMaterial();
    twoStages->stages.SetSize(2);
    system.material = twoStages;
    system.particles.SetSize(1);
    ASSERT_TRUE(renderer.GetReady());
    renderer.DrawParticles(system);
    EXPECT_EQ(mesh->material, twoStages);
    EXPECT_EQ(mesh->vertices[1].texCoords.Count(), 2);
    EXPECT_EQ(mesh->format, gfx::kFormatPosition | gfx::kFormatDiffuse | gfx::FormatTex(2));
    EXPECT_EQ(renderer.GetDevice().Stats().drawCalls, 1u);
    renderer.DestroyParticleMesh(system);
    EXPECT_EQ(system.mesh, nullptr);
    EXPECT_EQ(renderer.GetDevice().Stats().dynamicAlive, 0u);
}

TEST(ParticleDrawingTest, EachLiveParticleIsACameraFacingQuad) {
    Renderer renderer;
    auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
    // Looking along +y with z up.
    Camera camera;
    camera.SetDirection(Vector3(0, 1, 0));
    camera.SetUp(Vector3(0, 0, 1));
    renderer.SetCamera(camera);
    Vector3 right, up, back;
    camera.GetAxes(right, up, back);
    // The world turns model x onto world y: directions come back turned the other way.
    Matrix4 world = Matrix::RotationZ(std::numbers::pi_v<float> / 2);
    world[12] = 100;
    renderer.SetWorldMatrix(world);

    ParticleSystem system;
    system.particles.SetSize(3);
    system.particles[0].position = Vector3(1, 2, 3);
    system.particles[1].alive = 0;
    system.particles[2].size = 4.0f;
    system.particles[2].colour = Color(0xFF00FF00u);
    system.particleSize = 2.0f;
    system.usesParticleSizes = true;
    system.usesParticleColours = true;
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    renderer.DrawParticles(system);
    ASSERT_EQ(device.Draws().size(), 2u);
    EXPECT_EQ(device.Draws()[0].primitiveCount, 2u);

    // The last drawn quad: particle 2 at the origin, half size 2, green.
    const DynamicMesh& mesh = *system.mesh;
    const Vector3 modelRight(right.y, -right.x, right.z);
    const Vector3 modelUp(up.y, -up.x, up.z);
    const Vector3 corner0 = (modelUp - modelRight) * 2.0f;
    float first[4];
    std::memcpy(first, mesh.vertexBuffer->Data(), sizeof first);
    EXPECT_NEAR(first[0], corner0.x, 1e-5);
    EXPECT_NEAR(first[1], corner0.y, 1e-5);
    EXPECT_NEAR(first[2], corner0.z, 1e-5);
    uint32_t colour = 0;
    std::memcpy(&colour, &first[3], 4);
    EXPECT_EQ(colour, 0xFF00FF00u);
    const Vector3 corner3 = (modelRight + modelUp) * -2.0f;
    EXPECT_NEAR(mesh.positions[3].x, corner3.x, 1e-5);
    EXPECT_NEAR(mesh.positions[3].z, corner3.z, 1e-5);
}

}  // namespace
