// The debug view's shape models come from ".an8" files through the model reader: a
// sphere of radius 50 loaded at 0.02 and a unit cylinder along +Z, drawn translucent in
// the shape's colour.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Array.h"
#include "engine/ActorSet.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "support/TempFolder.h"
#include "world/CollisionShape.h"

namespace {

class DebugShapeModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_ / "Actors");
        std::ofstream(folder_ / "Actors/CollisionSphere.AN8")
            << "header { version { \"0.95\" } }\n"
               "object { \"CollisionSphere\" sphere { name { \"CollisionSphere\" } diameter { 100 } longlat { 16 8 } } "
               "}\n";
        std::ofstream(folder_ / "Actors/CollisionCylinder.AN8")
            << "header { version { \"0.95\" } }\n"
               "object { \"CollisionCylinder\" cylinder { name { \"CollisionCylinder\" } length { 1 } diameter { 2 }\n"
               "  longlat { 16 1 } capstart { } capend { } } }\n";
        std::filesystem::current_path(folder_.Path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    platform_test::TempFolder folder_;
    std::filesystem::path previous_ = std::filesystem::current_path();
};

TEST_F(DebugShapeModelTest, ShapesLoadThroughTheModelReader) {
    Array<ActorSetEntry> entries;
    Renderer& renderer = GetRenderer();
    ModelNode* sphere =
        renderer.LoadActorSet("Actors\\CollisionSphere.AN8", entries, 0.02f, false, ModelLoadSettings(), true, true);
    ASSERT_NE(sphere, nullptr);
    ASSERT_NE(sphere->mesh, nullptr);
    EXPECT_NEAR(sphere->mesh->bounds.radius, 1.0f, 1e-3f);

    ModelNode* cylinder =
        renderer.LoadActorSet("Actors\\CollisionCylinder.AN8", entries, 1.0f, false, ModelLoadSettings(), true, true);
    ASSERT_NE(cylinder, nullptr);
    ASSERT_NE(cylinder->mesh, nullptr);
    const Box box = cylinder->mesh->GetTransformedBox(Matrix4());
    EXPECT_NEAR(box.minimum.z, 0.0f, 1e-5f);
    EXPECT_NEAR(box.maximum.z, 1.0f, 1e-5f);
    EXPECT_NEAR(box.maximum.x, 1.0f, 1e-5f);
    EXPECT_NEAR(box.minimum.y, -1.0f, 1e-2f);
    // The cache written beside the source gives the same model.
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Actors/CollisionCylinder.sbm"));
    ModelNode* cached =
        renderer.LoadActorSet("Actors\\CollisionCylinder.AN8", entries, 1.0f, false, ModelLoadSettings(), true, false);
    ASSERT_NE(cached, nullptr);
    ASSERT_NE(cached->mesh, nullptr);
    EXPECT_EQ(cached->mesh->faces.Count(), cylinder->mesh->faces.Count());
}

TEST_F(DebugShapeModelTest, ShapesAreDrawnInTheirColourAtHalfOpacity) {
    Renderer& renderer = GetRenderer();
    ASSERT_TRUE(renderer.GetReady());
    Camera camera;
    renderer.SetCamera(camera);
    const gfx::DeviceStats before = renderer.GetDevice().Stats();
    const Material standIn = renderer.GetDefaultMaterial();
    CollisionShape ball;
    ball.SetSphere({0, 0, 5}, 1.0f);  // in front of the default camera
    ball.DrawDebug(Color::FromRGBA(255, 0, 0, 255), {0, 0, 0});
    const bool drew = renderer.GetDevice().Stats().primitives != before.primitives;
    const gfx::Material drawn = renderer.GetDevice().GetMaterial();
    // The frame ends here, so that the next test in this process can begin its own.
    renderer.EndFrame();
    EXPECT_EQ(renderer.GetDefaultMaterial().diffuse.a, standIn.diffuse.a);
    if (!drew) GTEST_SKIP() << "the shape models were loaded earlier in this process";
    EXPECT_FLOAT_EQ(drawn.diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(drawn.diffuse.g, 0.0f);
    EXPECT_FLOAT_EQ(drawn.diffuse.a, 128.0f / 255.0f);
}

}  // namespace
