// The headless renderer's caches and counts, and model-tree lookup.
#include <gtest/gtest.h>

#include <memory>

#include "engine/ModelNode.h"
#include "engine/Renderer.h"

namespace {

TEST(RendererTest, ModelsAndTexturesAreCachedByPath) {
    Renderer renderer;
    ModelNode* rock = renderer.LoadModel("Actors\\Rock_c_painted.obj", 1.0f, 4.0f, 0);
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(renderer.LoadModel("Actors\\Rock_c_painted.obj", 1.0f, 4.0f, 0), rock);
    EXPECT_NE(renderer.LoadModel("Actors\\Tree_c_painted.obj", 1.0f, 8.0f, 0), rock);
    TextureHandle shadow = renderer.CreateTextureFromFile("Textures\\Shadow.tga");
    EXPECT_EQ(renderer.CreateTextureFromFile("Textures\\Shadow.tga"), shadow);
    EXPECT_EQ(shadow->path, "Textures\\Shadow.tga");
    ActorSet* sphere = renderer.LoadActorSet("Actors\\CollisionSphere.AN8", 0.02f);
    ASSERT_EQ(sphere->trees.Count(), 1);
    EXPECT_EQ(renderer.LoadActorSet("Actors\\CollisionSphere.AN8", 0.02f), sphere);
}

TEST(RendererTest, DrawingIsCountedAndStateKept) {
    Renderer renderer;
    ModelNode* model = renderer.LoadModel("Actors\\Meteor_c_painted.obj", 1.0f, 1.0f, 0);
    Matrix4 world;
    world.SetTranslation(Vector3(1, 2, 3));
    renderer.SetWorldTransform(world);
    renderer.RenderModel(model, true, true);
    renderer.RenderModel(nullptr, true, true);
    EXPECT_EQ(renderer.renderModelCount, 1);
    EXPECT_EQ(renderer.GetWorldTransform().GetTranslation(), Vector3(1, 2, 3));
    renderer.SetAdditiveBlend();
    EXPECT_TRUE(renderer.IsAdditiveBlend());
    renderer.SetAlphaBlend();
    EXPECT_TRUE(renderer.IsAlphaBlendOn());
    EXPECT_FALSE(renderer.IsAdditiveBlend());
    const float lit[4] = {0.5f, 0.25f, 0.125f, 1.0f};
    const float dark[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    renderer.SetLight0Colors(lit, dark);
    EXPECT_FLOAT_EQ(renderer.GetLight0Diffuse()[2], 0.125f);
}

TEST(ModelNodeTest, FindByNameSearchesTheWholeTreeDepthFirst) {
    ModelNode root("Body");
    ModelNode* arm = root.AddChild(std::make_unique<ModelNode>("Arm"));
    ModelNode* muzzle = arm->AddChild(std::make_unique<ModelNode>("Weapon1"));
    root.AddChild(std::make_unique<ModelNode>("Weapon1"));
    EXPECT_EQ(root.FindByName("Weapon1"), muzzle);
    EXPECT_EQ(root.FindByName("Body"), &root);
    EXPECT_EQ(root.FindByName("Head"), nullptr);
    muzzle->world.SetTranslation(Vector3(4, 5, 6));
    EXPECT_EQ(muzzle->GetRandomPoint(), Vector3(4, 5, 6));
}

}  // namespace
