// Particle batches: runs of quads in one shared list, drawn by the renderer one call per
// run, with the picture and the states separate draws leave.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GlTestWindow.h"
#include "core/Image.h"
#include "engine/Mesh.h"
#include "engine/ParticleBatch.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/window/SystemWindow.h"

namespace {

ParticleRunKey KeyWithBlend(uint32_t blend) {
    ParticleRunKey key;
    key.states[size_t(gfx::RenderState::AlphaBlendEnable)] = blend;
    return key;
}

void FillQuads(std::span<ParticleQuad> quads, float x) {
    for (ParticleQuad& quad : quads) quad.corners[0] = Vector3(x, 0, 0);
}

TEST(ParticleBatchTest, RunsKeepTheirOrderAndOnlyNeighboursWithOneKeyShareARun) {
    ParticleBatch batch;
    const ParticleRunKey a = KeyWithBlend(0), b = KeyWithBlend(1);
    FillQuads(batch.Add(a, 2), 1);
    FillQuads(batch.Add(a, 1), 2);
    FillQuads(batch.Add(b, 1), 3);
    EXPECT_TRUE(batch.Add(b, 0).empty());
    FillQuads(batch.Add(a, 1), 4);
    // a a a | b | a: the last a follows b, so it may not join the first run.
    ASSERT_EQ(batch.RunCount(), 3);
    EXPECT_EQ(batch.Run(0).quadCount, 3);
    EXPECT_EQ(batch.Run(1).firstQuad, 3);
    EXPECT_EQ(batch.Run(2).key, a);
    EXPECT_EQ(batch.GatherRun(0)[2].corners[0].x, 2);
    ASSERT_EQ(batch.GatherRun(2).size(), 1u);
    EXPECT_EQ(batch.GatherRun(2)[0].corners[0].x, 4);
    batch.Clear();
    EXPECT_TRUE(batch.IsEmpty());
    EXPECT_EQ(batch.QuadCount(), 0);
}

TEST(ParticleBatchTest, ASteadyLoadGathersWithoutGrowing) {
    ParticleBatch batch;
    auto frame = [&batch] {
        batch.Clear();
        // Forty effects in alternating states, of one to seven particles.
        for (int i = 0; i < 40; ++i) FillQuads(batch.Add(KeyWithBlend(uint32_t(i % 2)), 1 + i % 7), float(i));
    };
    frame();
    const size_t capacity = batch.QuadCapacity();
    for (int i = 0; i < 100; ++i) frame();
    EXPECT_EQ(batch.QuadCapacity(), capacity);
    EXPECT_EQ(batch.RunCount(), 40);
}

// Three particles in a row, each its own colour, half see-through.
ParticleSystem Burst(float size) {
    ParticleSystem system;
    system.particles.SetSize(3);
    for (int i = 0; i < 3; ++i) {
        system.particles[i].position = Vector3(float(8 * i), float(3 * i), 0.5f);
        system.particles[i].size = size + float(i);
        system.particles[i].colour = Color::FromRGBA(uint8_t(90 * i), 200, uint8_t(255 - 80 * i), 128);
    }
    system.usesParticleSizes = true;
    system.usesParticleColours = true;
    return system;
}

TEST(ParticleBatchDrawingTest, OneDrawPerRunAndTheCallersStatesAfterward) {
    Renderer renderer;
    auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    ParticleSystem first = Burst(2), second = Burst(3), third = Burst(4);
    second.particles[1].alive = 0;
    Matrix4 moved;
    moved.SetTranslation(Vector3(5, 0, 0));

    renderer.BeginParticleBatch();
    renderer.SetAdditiveBlend();
    renderer.DrawParticles(first);
    renderer.DrawParticles(second);  // same states: the same run
    renderer.SetWorldMatrix(moved);
    renderer.DrawParticles(third);  // another world: a run of its own
    renderer.SetAlphaBlend();
    renderer.SetZWrite(false);
    renderer.SetWorldMatrix(Matrix4());
    EXPECT_EQ(device.Stats().drawCalls, 0u);
    renderer.EndParticleBatch();

    ASSERT_EQ(device.Draws().size(), 2u);
    EXPECT_EQ(device.Draws()[0].primitiveCount, 2u * 5);
    EXPECT_EQ(device.Draws()[1].world, moved);
    EXPECT_EQ(device.Draws()[1].primitiveCount, 2u * 3);
    EXPECT_EQ(first.mesh, nullptr);
    // What the caller set after the last particle stands again.
    EXPECT_TRUE(renderer.IsAlphaBlendOn());
    EXPECT_FALSE(renderer.IsAdditiveBlend());
    EXPECT_FALSE(renderer.IsZWriteOn());
    EXPECT_EQ(renderer.GetWorldTransform(), Matrix4());
    EXPECT_EQ(device.GetTransform(gfx::TransformKind::World), Matrix4());

    // Another draw inside a batch draws the gathered particles before itself.
    renderer.BeginParticleBatch();
    renderer.DrawParticles(first);
    renderer.RenderMesh(renderer.CreateColoredQuad(QuadRect{0, 0, 1, 1}, Color(0xFFFFFFFFu), 0, 0, 0), false);
    ASSERT_EQ(device.Draws().size(), 4u);
    EXPECT_EQ(device.Draws()[2].primitiveCount, 2u * 3);
    EXPECT_EQ(device.Draws()[3].primitiveCount, 2u);
    renderer.EndParticleBatch();
    EXPECT_EQ(device.Draws().size(), 4u);
}

TEST(ParticleBatchScreenshotTest, ABatchedFrameIsTheFrameOfSeparateDraws) {
    constexpr int kWidth = 64, kHeight = 48;
    std::unique_ptr<win::SystemWindow> window;
    Renderer renderer;
    const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window, renderer);
    if (!failure.empty()) GTEST_SKIP() << failure;
    Camera camera;
    camera.SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
    Material* checker = renderer.CreateMaterial();
    checker->stages.Append(TextureStageSettings(renderer.GetCheckerTexture()));
    std::vector<ParticleSystem> systems;
    for (int i = 0; i < 6; ++i) {
        systems.push_back(Burst(6.0f + float(i)));
        if (i % 3 == 2) systems.back().material = checker;
    }
    auto frame = [&](bool batched) {
        EXPECT_TRUE(renderer.GetReady());
        renderer.SetCamera(camera);
        renderer.DisableLighting();
        renderer.Clear(Color(0xFF000000u), 1.0f, 3);
        if (batched) renderer.BeginParticleBatch();
        for (int i = 0; i < int(systems.size()); ++i) {
            Matrix4 world;
            world.SetTranslation(Vector3(float(6 + 7 * i), float(8 + 4 * (i % 3)), 0));
            renderer.SetWorldMatrix(world);
            if (i % 2 == 0) {
                renderer.SetAlphaBlend();
            } else {
                renderer.SetAdditiveBlend();
            }
            renderer.DrawParticles(systems[size_t(i)]);
        }
        renderer.SetBlendOff();
        if (batched) renderer.EndParticleBatch();
        renderer.EndFrame();
        Image image;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(image), gfx::Result::Ok);
        renderer.SwapBuffers();
        return image;
    };
    const Image separate = frame(false);
    const Image batched = frame(true);
    engine_test::KeepPicture(batched, "particle_batch");
    int lit = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(batched.At(x, y), separate.At(x, y)) << "at " << x << "," << y;
            lit += separate.At(x, y).Green() > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 200);  // the particles were drawn at all
    for (ParticleSystem& system : systems) renderer.DestroyParticleMesh(system);
    renderer.Shutdown();
}

}  // namespace
