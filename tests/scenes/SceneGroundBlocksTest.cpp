// The scenes' grounds drawn block by block: only what the camera can see reaches the
// device, and the picture is the one the whole ground gives.
#include <gtest/gtest.h>

#include <memory>

#include "SceneFixture.h"
#include "core/Image.h"
#include "engine/GlTestWindow.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "scenes/SceneGroundBlocks.h"

namespace {

constexpr int kCells = 32;
constexpr float kStep = 2.5f;

// A flat grid of cells around the origin, each cell two faces of its own four vertices
// with colours that change from cell to cell (or one colour for all), in two materials.
Mesh WholeGround(bool oneColour = false) {
    Renderer& renderer = GetRenderer();
    Material* materials[2] = {renderer.CreateMaterial(), renderer.CreateMaterial()};
    materials[1]->diffuse = materials[1]->ambient = gfx::ColorValue{0.3f, 0.6f, 0.2f, 1.0f};
    constexpr int side = kCells + 1;
    Mesh ground;
    const float half = kStep * float(kCells) / 2.0f;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            ground.AddPosition(Vector3(-half + kStep * float(column), -half + kStep * float(row), 0.0f));
        }
    }
    for (int row = 0; row < kCells; ++row) {
        for (int column = 0; column < kCells; ++column) {
            const int first = ground.vertices.Count();
            const int corner = row * side + column;
            for (int position : {corner, corner + 1, corner + side + 1, corner + side}) {
                MeshVertex vertex;
                vertex.position = &ground.positions[position];
                vertex.normal = Vector3(0.0f, 0.0f, 1.0f);
                vertex.color =
                    oneColour ? Color(0xFF336633)
                              : Color::FromRGBA(uint8_t(row * 8), uint8_t(column * 8), uint8_t(255 - row * 4), 255);
                ground.AddVertex(vertex);
            }
            static constexpr int kFaceCorners[2][3] = {{0, 2, 1}, {0, 3, 2}};
            for (const auto& corners : kFaceCorners) {
                MeshFace face;
                face.material = materials[(row + column) % 2];
                for (int i = 0; i < 3; ++i) face.corners[i] = &ground.vertices[first + corners[i]];
                face.ComputeNormal();
                ground.AddFace(face);
            }
        }
    }
    ground.hasNormals = 1;
    ground.hasColors = 1;
    return ground;
}

// Looking along the ground from one side, as the scenes' cameras do.
Camera GroundCamera() {
    Camera camera;
    camera.eye = Vector3(0.0f, -15.0f, 3.0f);
    camera.direction = Vector3(0.0f, 1.0f, 0.0f);
    camera.up = Vector3(0.0f, 0.0f, 1.0f);
    camera.nearPlane = 1.0f;
    camera.farPlane = 30.0f;
    camera.SetAspect(4.0f / 3.0f);
    return camera;
}

uint64_t TrianglesDrawn(const SceneGroundBlocks& blocks, Camera& camera) {
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    EXPECT_TRUE(renderer.GetReady());
    device.ResetCounters();
    renderer.SetCamera(camera);
    blocks.Draw(camera);
    const uint64_t drawn = device.Stats().primitives;
    renderer.EndFrame();
    return drawn;
}

Image DrawnPicture(const SceneGroundBlocks& blocks, Camera& camera) {
    Renderer& renderer = GetRenderer();
    EXPECT_TRUE(renderer.GetReady());
    renderer.Clear(Color(0xFF000000), 1.0f, 3);
    renderer.DisableLighting();
    renderer.SetCamera(camera);
    blocks.Draw(camera);
    renderer.EndFrame();
    Image frame;
    EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
    return frame;
}

class SceneGroundBlocksTest : public ::testing::Test {
protected:
    void SetUp() override { GetRenderer().Shutdown(); }
    void TearDown() override {
        GetRenderer().Shutdown();
        window_.reset();
    }
    std::unique_ptr<win::SystemWindow> window_;
};

TEST_F(SceneGroundBlocksTest, EveryFaceLandsInOneBlockAndOnlySeenBlocksAreDrawn) {
    const Mesh ground = WholeGround();
    const SceneGroundBlocks blocks(ground, 20.0f);
    int faces = 0;
    for (const Mesh* block : blocks.Blocks()) faces += block->faces.Count();
    EXPECT_EQ(faces, ground.faces.Count());
    EXPECT_EQ(blocks.Blocks().size(), 16u);

    Camera camera = GroundCamera();
    const uint64_t seen = TrianglesDrawn(blocks, camera);
    EXPECT_GT(seen, 0u);
    EXPECT_LT(seen, uint64_t(ground.faces.Count()) * 3 / 4);
    // Looking away from the ground, nothing of it is drawn.
    camera.SetDirection(Vector3(0.0f, -1.0f, 0.0f));
    camera.SetPosition(Vector3(0.0f, -60.0f, 3.0f));
    EXPECT_EQ(TrianglesDrawn(blocks, camera), 0u);
}

// Each vertex is lit and transformed on its own: cells that repeat their corners alike
// share them, and corners that differ in any value stay apart.
TEST_F(SceneGroundBlocksTest, CornersAlikeInEveryValueAreOneVertex) {
    constexpr int kBlockCells = 8;
    const Mesh plain = WholeGround(true);
    const SceneGroundBlocks plainBlocks(plain, kStep * kBlockCells);
    for (const Mesh* block : plainBlocks.Blocks()) {
        EXPECT_EQ(block->vertices.Count(), (kBlockCells + 1) * (kBlockCells + 1));
    }
    const Mesh coloured = WholeGround();
    const SceneGroundBlocks colouredBlocks(coloured, kStep * kBlockCells);
    for (const Mesh* block : colouredBlocks.Blocks()) {
        EXPECT_EQ(block->vertices.Count(), kBlockCells * kBlockCells * 4);
    }
}

TEST_F(SceneGroundBlocksTest, BlocksDrawTheWholeGroundsPicture) {
    const std::string failure = engine_test::OpenGlRenderer(320, 240, window_, GetRenderer());
    if (!failure.empty()) GTEST_SKIP() << failure;
    const Mesh ground = WholeGround();
    const SceneGroundBlocks whole(ground, 1000.0f);
    const SceneGroundBlocks blocks(ground, 20.0f);
    ASSERT_EQ(whole.Blocks().size(), 1u);
    Camera camera = GroundCamera();
    const Image expected = DrawnPicture(whole, camera);
    const Image drawn = DrawnPicture(blocks, camera);
    ASSERT_EQ(drawn.Width(), expected.Width());
    ASSERT_EQ(drawn.Height(), expected.Height());
    int differing = 0;
    for (int y = 0; y < drawn.Height(); ++y) {
        for (int x = 0; x < drawn.Width(); ++x) differing += drawn.At(x, y) == expected.At(x, y) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0);
    // The ground filled the lower part of the picture.
    EXPECT_NE(drawn.At(160, 230), Color(0xFF000000));
}

// The scenes' own grounds reach far beyond what their cameras see.
TEST_F(SceneGroundBlocksTest, ASandSceneDrawsLessThanItsWholeGround) {
    if (!std::filesystem::exists(scenes_test::RuntimeFolder() / "Actors" / "Professor.act")) {
        GTEST_SKIP() << "no data set";
    }
    runtime_test::RuntimeCopy runtime;
    app_test::WorkingFolder working(runtime.Path());
    std::ofstream(runtime / "Scenes" / "English" / "Sand.SCE") << "Background Desert\nStage\nTime 5\nEnd\n";
    {
        Scene scene;
        scene.Load("Sand");
        scene.Restart();
        Renderer& renderer = GetRenderer();
        ASSERT_TRUE(renderer.GetReady());
        gfx::Device& device = renderer.GetDevice();
        device.ResetCounters();
        scene.Draw();
        renderer.EndFrame();
        // The whole sand ground is 64 x 64 cells of two triangles.
        EXPECT_GT(device.Stats().primitives, 0u);
        EXPECT_LT(device.Stats().primitives, 64u * 64u * 2u * 3u / 4u);
    }
    Scene::FreeSharedResources();
    ForgetSharedMeshes();
}

}  // namespace
