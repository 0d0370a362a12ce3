// The renderer on the recording device: device creation, the frame cycle, recovery from
// a lost device, textures shared by path, materials, the camera, model trees and sprites.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <numbers>

#include "core/FileHelpers.h"
#include "core/Image.h"
#include "core/ThrowError.h"
#include "engine/ActorSet.h"
#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "platform/gfx/RecordingAdapter.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"

namespace {

using platform_test::TempFolder;

std::unique_ptr<win::SystemWindow> ScriptedWindow(int width, int height) {
    win::WindowDesc desc;
    desc.width = width;
    desc.height = height;
    return win::OpenWindow(win::WindowBackend::Scripted, desc).window;
}

gfx::RecordingDevice& Recording(Renderer& renderer) {
    return dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
}

String SolidTga(const TempFolder& folder, const char* name, Color colour) {
    Image image(4, 2);
    image.Fill(colour);
    const std::string path = folder / name;
    EXPECT_TRUE(image.SaveTGA(path));
    return String(path.c_str());
}

// --- device creation

class DeviceCreationTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto adapter = std::make_unique<gfx::RecordingAdapter>();
        adapter_ = adapter.get();
        adapter_->SetModes({{800, 600, 60}, {1024, 768, 60}, {1024, 600, 60}, {640, 480, 60}});
        adapter_->SetClientSize(320, 200);
        renderer_.SetAdapter(std::move(adapter));
    }

    std::unique_ptr<win::SystemWindow> window_ = ScriptedWindow(320, 200);
    gfx::RecordingAdapter* adapter_ = nullptr;
    Renderer renderer_;
};

TEST_F(DeviceCreationTest, WindowedDeviceTakesTheClientArea) {
    ASSERT_TRUE(renderer_.InitWindowed(window_.get(), 0));
    EXPECT_EQ(renderer_.GetDevice().BackBufferWidth(), 320u);
    EXPECT_TRUE(renderer_.GetDevice().Params().windowed);
    // Presents are paced to the display unless asked otherwise.
    EXPECT_EQ(renderer_.GetDevice().Params().presentInterval, 1u);
    EXPECT_EQ(renderer_.GetWindowRect(), IntRect(0, 0, 319, 199));
    gfx::Device* first = &renderer_.GetDevice();
    EXPECT_FALSE(renderer_.InitWindowed(window_.get(), 0));
    EXPECT_EQ(&renderer_.GetDevice(), first);
}

TEST_F(DeviceCreationTest, FullScreenTakesTheNearestModeUnlessExact) {
    EXPECT_FALSE(renderer_.Init(window_.get(), Point(1000, 700), 0, true));
    EXPECT_FALSE(renderer_.HasDevice());
    // 1024 x 768 and 1024 x 600 are equally near 1000 x 684; the first listed wins.
    ASSERT_TRUE(renderer_.TryCreateDevice(Point(1000, 684), 0, false));
    EXPECT_EQ(renderer_.GetDevice().BackBufferHeight(), 768u);
    EXPECT_FALSE(renderer_.GetDevice().Params().windowed);
    EXPECT_EQ(renderer_.GetWindowRect(), IntRect(0, 0, 1023, 767));
}

TEST_F(DeviceCreationTest, MultisampleFallsBackOneSampleAtATime) {
    adapter_->SetMaxMultisample(3);
    ASSERT_TRUE(renderer_.InitWindowed(window_.get(), 20));
    EXPECT_EQ(renderer_.GetDevice().Params().multisample, 3u);
}

TEST_F(DeviceCreationTest, NoDisplayModesIsFatal) {
    adapter_->SetModes({});
    try {
        renderer_.Init(window_.get(), Point(640, 480), 0, false);
        FAIL() << "no error";
    } catch (const ThrowError& error) {
        EXPECT_EQ(error.message,
                  "Renderer::CreateDevice() - gfx::Adapter::Modes(): the adapter lists no display modes");
    }
}

// --- the frame cycle

TEST(FrameCycleTest, ReadyClearEndPresent) {
    auto window = ScriptedWindow(64, 48);
    Renderer renderer;
    ASSERT_TRUE(renderer.InitWindowed(window.get(), 0));
    gfx::RecordingDevice& device = Recording(renderer);
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    EXPECT_TRUE(device.InScene());
    renderer.Clear(Color(0xFF102030u), 1.0f, 3);
    renderer.EndFrame();
    renderer.SwapBuffers();
    EXPECT_EQ(device.Stats().scenes, 1u);
    EXPECT_EQ(device.Stats().presents, 1u);
    ASSERT_EQ(device.Clears().size(), 1u);
    EXPECT_EQ(device.Clears()[0].rect.right, 64);
    EXPECT_EQ(device.Clears()[0].flags, 3u);

    // A viewport that is part of the window clears only itself.
    Camera camera;
    camera.SetScreenView(IntRect(8, 4, 23, 19), true);
    renderer.SetCamera(camera);
    renderer.ClearViewport(Color(0xFF00FF00u), 1.0f, 1);
    ASSERT_EQ(device.Clears().size(), 2u);
    EXPECT_EQ(device.Clears()[1].rect.left, 8);
    EXPECT_EQ(device.Clears()[1].rect.bottom, 20);
    // The whole window as viewport clears everything.
    camera.viewport = IntRect(0, 0, 63, 47);
    renderer.SetCamera(camera);
    renderer.ClearViewport(Color(0xFF00FF00u), 1.0f, 1);
    EXPECT_EQ(device.Clears()[2].rect.right, 64);
}

TEST(FrameCycleTest, LostDeviceRecoversWithDynamicBuffersRebuiltAndRefilled) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    DynamicMesh* mesh = renderer.CreateDynamicMesh(3, 3, 1);
    for (int i = 0; i < 3; ++i) mesh->AddPosition(Vector3(float(i), 2, 3));
    for (int i = 0; i < 3; ++i) {
        MeshVertex v;
        v.position = &mesh->positions[i];
        mesh->AddVertex(v);
    }
    MeshFace face;
    for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[2 - c];
    mesh->AddFace(face);
    renderer.CreateDynamicMeshBuffers(mesh);
    DynamicMesh* unused = renderer.CreateDynamicMesh(3, 3, 1);
    Image pixels(2, 2);
    pixels.Fill(Color(0xFF336699u));
    TextureHandle texture = renderer.CreateTextureImage(pixels, 1);
    Matrix4 moved;
    moved.SetTranslation(Vector3(1, 1, 1));
    renderer.SetWorldMatrix(moved);

    // Two frames lost, then resettable; the first reset fails and leaves it lost.
    device.ScriptLoss(2, 1);
    EXPECT_FALSE(renderer.GetReady());
    EXPECT_FALSE(renderer.GetReady());
    EXPECT_TRUE(mesh->HasBuffers());
    EXPECT_FALSE(renderer.GetReady());
    EXPECT_FALSE(mesh->HasBuffers());
    EXPECT_EQ(device.Stats().dynamicAlive, 0u);
    // The geometry changes while the buffers are gone.
    mesh->positions[1] = Vector3(5, 6, 7);
    renderer.UpdateDynamicMeshBuffers(mesh);

    ASSERT_TRUE(renderer.GetReady());
    EXPECT_EQ(device.Stats().resets, 1u);
    ASSERT_TRUE(mesh->HasBuffers());
    float written[9];
    std::memcpy(written, mesh->vertexBuffer->Data(), sizeof written);
    EXPECT_EQ(written[3], 5.0f);
    EXPECT_EQ(written[5], 7.0f);
    EXPECT_EQ(written[6], 2.0f);
    uint16_t first = 0;
    std::memcpy(&first, mesh->indexBuffer->Data(), 2);
    EXPECT_EQ(first, 2);
    EXPECT_FALSE(unused->HasBuffers());
    EXPECT_EQ(renderer.GetWorldTransform(), Matrix4());
    Image back;
    renderer.ReadTextureImage(back, texture);
    EXPECT_EQ(back.At(1, 1), Color(0xFF336699u));
    renderer.EndFrame();
}

// --- textures

TEST(TextureTest, TexturesAreSharedByPathInAnyLetterCase) {
    TempFolder folder;
    const String path = SolidTga(folder, "Shadow.tga", Color(0xFF8040C0u));
    Renderer renderer;
    TextureHandle shadow = renderer.CreateTextureFromFile(path);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->name, GetFullPath(path));
    String otherCase = path;
    otherCase[otherCase.CharCount() - 10] = 's';  // "shadow.tga"
    EXPECT_EQ(renderer.CreateTextureFromFile(otherCase), shadow);
    EXPECT_EQ(renderer.GetDevice().Stats().TexturesAlive(), 1u);

    // Without reuse: a second record, which the table then names.
    TextureHandle fresh = renderer.CreateTextureFromFile(path, -1, -1, 1, 3, 0x30000, 5, 0x30000, false);
    EXPECT_NE(fresh, shadow);
    EXPECT_EQ(renderer.CreateTextureFromFile(path), fresh);

    bool hasAlpha = false;
    EXPECT_EQ(renderer.CreateTextureImage("", hasAlpha, -1, -1, 1, 3, 0, 5, 0, true), nullptr);
    EXPECT_FALSE(hasAlpha);
    Image image;
    renderer.LoadImageFile(image, path);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.At(3, 1), Color(0xFF8040C0u));
}

TEST(TextureTest, MissingFileIsFatalAndNamesTheFile) {
    Renderer renderer;
    try {
        renderer.CreateTextureFromFile("Textures\\NoSuch.tga");
        FAIL() << "no error";
    } catch (const ThrowError& error) {
        EXPECT_EQ(error.message, String("Renderer::CreateTextureImage() - gfx::CreateTextureFromFile(): ") +
                                     gfx::ResultText(gfx::Result::NotFound) + " : File Textures\\NoSuch.tga");
    }
}

TEST(TextureTest, ImagesGoInOnlyAtTheTexturesSize) {
    TempFolder folder;
    const String path = SolidTga(folder, "Beacon.tga", Color(0xFF000000u));
    Renderer renderer;
    Image recoloured(4, 2);
    recoloured.Fill(Color(0xFF00FF00u));
    recoloured.At(0, 1) = Color(0x80FF0000u);
    renderer.CreateTextureFromImage(path, recoloured);
    Image wrongSize(3, 3);
    wrongSize.Fill(Color(0xFFFFFFFFu));
    renderer.CreateTextureImage(renderer.CreateTextureFromFile(path), wrongSize);
    Image back;
    renderer.LoadImageFile(back, path);
    EXPECT_EQ(back.At(0, 1), Color(0x80FF0000u));
    EXPECT_EQ(back.At(3, 0), Color(0xFF00FF00u));
}

TEST(TextureTest, CheckerShowsWhereItIsSampled) {
    Renderer renderer;
    TextureHandle checker = renderer.GetCheckerTexture();
    EXPECT_EQ(renderer.GetCheckerTexture(), checker);
    Image image;
    renderer.ReadTextureImage(image, checker);
    ASSERT_EQ(image.Width(), 64);
    EXPECT_EQ(image.At(0, 0), Color::FromRGBA(0, 0, 0, 255));
    EXPECT_EQ(image.At(4, 0), Color(0xFFFFFFFFu));
    EXPECT_EQ(image.At(11, 63), Color(0xFFFFFFFFu));                // column 2, row 15
    EXPECT_EQ(image.At(11, 59), Color::FromRGBA(224, 32, 0, 255));  // column 2, row 14
}

// --- materials

TEST(MaterialTest, ApplyingSetsColoursAndStagesAndEndsAfterTheLast) {
    Renderer renderer;
    gfx::Device& device = renderer.GetDevice();
    Image pixels(1, 1);
    Material* material = renderer.CreateMaterial();
    EXPECT_EQ(material->stages.Count(), 0);
    EXPECT_EQ(material->diffuse, (gfx::ColorValue{0.5f, 0.5f, 0.5f, 1.0f}));
    TextureStageSettings stage(renderer.CreateTextureImage(pixels, 1));
    stage.addressU = uint32_t(gfx::Address::Border);
    stage.colorOp = uint32_t(gfx::TextureOp::Add);
    material->stages.Append(stage);
    material->stages.Append(TextureStageSettings());
    material->power = 8;
    renderer.ApplyMaterial(*material);
    EXPECT_EQ(device.GetMaterial().power, 8.0f);
    EXPECT_EQ(device.GetTexture(0), stage.texture->texture.get());
    EXPECT_EQ(device.GetTexture(1), nullptr);
    EXPECT_EQ(device.GetTextureStageState(0, gfx::TextureStageState::ColorOp), uint32_t(gfx::TextureOp::Add));
    EXPECT_EQ(device.GetTextureStageState(1, gfx::TextureStageState::ColorOp), uint32_t(gfx::TextureOp::Modulate));
    EXPECT_EQ(device.GetTextureStageState(1, gfx::TextureStageState::AlphaOp), uint32_t(gfx::TextureOp::SelectArg1));
    EXPECT_EQ(device.GetTextureStageState(2, gfx::TextureStageState::ColorOp), uint32_t(gfx::TextureOp::Disable));
    EXPECT_EQ(device.GetSamplerState(0, gfx::SamplerState::AddressU), uint32_t(gfx::Address::Border));
    EXPECT_EQ(device.GetSamplerState(1, gfx::SamplerState::MinFilter), uint32_t(gfx::Filter::Linear));

    // A material without stages disables stage 0: the lit colour alone.
    renderer.ApplyMaterial(renderer.GetDefaultMaterial());
    EXPECT_EQ(device.GetTextureStageState(0, gfx::TextureStageState::ColorOp), uint32_t(gfx::TextureOp::Disable));

    Material* other = renderer.CreateMaterial();
    renderer.DestroyMaterial(material);
    Material stranger;
    renderer.DestroyMaterial(&stranger);
    EXPECT_EQ(other->power, 1.0f);
}

// --- state and camera

TEST(RendererStateTest, BlendsLightsAndWorldMatrixReachTheDevice) {
    Renderer renderer;
    gfx::Device& device = renderer.GetDevice();
    Matrix4 world;
    world.SetTranslation(Vector3(1, 2, 3));
    renderer.SetWorldTransform(world);
    EXPECT_EQ(device.GetTransform(gfx::TransformKind::World), world);
    EXPECT_EQ(renderer.GetWorldTransform().GetTranslation(), Vector3(1, 2, 3));
    renderer.SetAdditiveBlend();
    EXPECT_TRUE(renderer.IsAdditiveBlend());
    EXPECT_EQ(device.GetRenderState(gfx::RenderState::DestBlend), uint32_t(gfx::Blend::One));
    renderer.SetAlphaBlend();
    EXPECT_TRUE(renderer.IsAlphaBlendOn());
    EXPECT_FALSE(renderer.IsAdditiveBlend());
    EXPECT_EQ(device.GetRenderState(gfx::RenderState::DestBlend), uint32_t(gfx::Blend::InvSrcAlpha));
    renderer.SetBlendOff();
    EXPECT_FALSE(renderer.IsAlphaBlendOn());

    renderer.SetLight(Light(), true, 0);
    EXPECT_TRUE(device.IsLightEnabled(0));
    EXPECT_EQ(device.GetLight(0).range, 500.0f);
    EXPECT_EQ(device.GetLight(0).direction, Vector3(1, 1, 1));
    const float lit[4] = {0.5f, 0.25f, 0.125f, 1.0f};
    const float dark[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    renderer.SetLight0Colors(lit, dark);
    EXPECT_EQ(device.GetLight(0).diffuse, (gfx::ColorValue{0.5f, 0.25f, 0.125f, 1.0f}));
    EXPECT_EQ(device.GetLight(0).range, 500.0f);
    renderer.DisableLighting();
    renderer.SetWireFrame(true);
    EXPECT_FALSE(renderer.IsLightingOn());
    EXPECT_TRUE(renderer.IsWireFrame());
}

TEST(RendererStateTest, CameraSetsViewportClipPlanesAndMatrices) {
    auto window = ScriptedWindow(200, 100);
    Renderer renderer;
    ASSERT_TRUE(renderer.InitWindowed(window.get(), 0));
    gfx::Device& device = renderer.GetDevice();
    Camera camera;
    camera.viewWidth = 4;
    camera.viewHeight = 1;
    camera.AddClipPlane(Plane(Vector3(1, 0, 0), -2));
    renderer.SetCamera(camera);
    // The unset viewport became the window, in the caller's camera too.
    EXPECT_EQ(camera.viewport, IntRect(0, 0, 199, 99));
    EXPECT_EQ(device.GetViewport().width, 200u);
    EXPECT_EQ(device.GetRenderState(gfx::RenderState::ClipPlaneEnable), 1u);
    EXPECT_EQ(device.GetClipPlane(0), (gfx::ClipPlane{1, 0, 0, -2}));
    EXPECT_EQ(device.GetTransform(gfx::TransformKind::Projection), camera.projection);
    EXPECT_EQ(device.GetTransform(gfx::TransformKind::View), camera.view);
    // Half a pixel in view units: the larger of 4 / 200 and 1 / 100, halved.
    EXPECT_FLOAT_EQ(renderer.GetPixelScale(), 0.01f);

    camera.viewport = IntRect(10, 10, 400, 50);
    renderer.SetCamera(camera);
    EXPECT_EQ(camera.viewport, IntRect(0, 0, 199, 99));
}

// --- model trees

// A root with a mesh and two children, the first with a mesh and a grandchild.
struct Tree {
    ModelNode* root;
    ModelNode* arm;
    ModelNode* hand;
    ModelNode* leg;
};

Tree MakeTree(Renderer& renderer, Mesh* mesh) {
    Tree t{renderer.NewModelNode(), renderer.NewModelNode(), renderer.NewModelNode(), renderer.NewModelNode()};
    t.root->mesh = mesh;
    t.root->local.SetTranslation(Vector3(10, 0, 0));
    t.root->bounds = Sphere(Vector3(10, 0, 0), 1);
    t.arm->mesh = mesh;
    t.arm->local.SetTranslation(Vector3(0, 5, 0));
    t.hand->mesh = mesh;
    t.hand->local.SetTranslation(Vector3(0, 0, 1));
    t.leg->local.SetTranslation(Vector3(0, 0, -1));
    t.root->LinkChild(t.arm);
    t.root->LinkChild(t.leg);
    t.arm->LinkChild(t.hand);
    return t;
}

TEST(ModelDrawingTest, TreeIsDrawnWithAccumulatedMatricesAndCulledByItsRoot) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    Mesh* mesh = renderer.CreateColoredQuad(QuadRect{0, 0, 1, 1}, Color(0xFFFFFFFFu), 0, 0, 0);
    Tree tree = MakeTree(renderer, mesh);
    Camera camera;
    camera.SetPosition(Vector3(10, 0, -20));
    camera.farPlane = 100;
    renderer.SetCamera(camera);
    Matrix4 world;
    world.SetTranslation(Vector3(0, 0, 3));
    renderer.SetWorldMatrix(world);
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    renderer.RenderModel(tree.root, true, true);
    ASSERT_EQ(device.Draws().size(), 3u);
    EXPECT_EQ(device.Draws()[0].world.GetTranslation(), Vector3(10, 0, 3));
    EXPECT_EQ(device.Draws()[1].world.GetTranslation(), Vector3(10, 5, 3));
    EXPECT_EQ(device.Draws()[2].world.GetTranslation(), Vector3(10, 5, 4));
    EXPECT_EQ(renderer.GetWorldTransform(), world);
    EXPECT_EQ(device.GetTransform(gfx::TransformKind::World), world);

    // Far to the side: the root sphere is outside the view.
    world.SetTranslation(Vector3(500, 0, 3));
    renderer.SetWorldMatrix(world);
    renderer.RenderModel(tree.root, true, true);
    EXPECT_EQ(device.Draws().size(), 3u);
    renderer.RenderModel(tree.root, true, false);
    EXPECT_EQ(device.Draws().size(), 6u);
    EXPECT_EQ(renderer.renderModelCount, 3);
}

// Levels told apart by their face counts: 4 quads in full, then 3, 2 and 1.
Mesh* QuadLevels(Renderer& renderer, float error0, float error1, float error2) {
    auto quads = [&](int n) {
        Mesh* mesh = renderer.CreateMesh(0, 0, 0, 0);
        for (int i = 0; i < n; ++i) {
            Mesh* quad = renderer.CreateQuad(QuadRect{float(i), 0, float(i) + 1, 1}, nullptr, 0, 0, 0);
            for (int k = 0; k < 4; ++k) mesh->AddPosition(quad->positions[k]);
            for (int k = 0; k < 4; ++k) {
                MeshVertex v = quad->vertices[k];
                v.position = &mesh->positions[4 * i + k];
                mesh->AddVertex(v);
            }
            for (int f = 0; f < 2; ++f) {
                MeshFace face;
                for (int c = 0; c < 3; ++c)
                    face.corners[c] = &mesh->vertices[4 * i + quad->VertexIndex(quad->faces[f].corners[c])];
                mesh->AddFace(face);
            }
        }
        return mesh;
    };
    Mesh* full = quads(4);
    full->levels.Append(MeshLevel{quads(3), error0});
    full->levels.Append(MeshLevel{quads(2), error1});
    full->levels.Append(MeshLevel{quads(1), error2});
    return full;
}

TEST(ModelDrawingTest, CoarsestLevelWithinTheErrorIsDrawn) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    // Ten pixels to the unit: each level's error covers a pixel or more.
    Camera camera;
    camera.kind = Camera::kOrthographic;
    camera.viewWidth = 102.4f;
    camera.viewHeight = 76.8f;
    renderer.SetCamera(camera);
    ASSERT_FLOAT_EQ(renderer.GetPixelScale(), 0.05f);
    Mesh* full = QuadLevels(renderer, 0.1f, 0.2f, 2.0f);
    full->bounds = Sphere(Vector3(0, 0, 5), 0.2f);  // 4 pixels across the screen
    ASSERT_TRUE(renderer.GetReady());
    renderer.RenderMesh(full, true);
    EXPECT_EQ(device.Stats().primitives, 4u);  // level 1: two quads
    full->bounds.radius = 1.0f;                // 20 pixels: no level qualifies
    renderer.RenderMesh(full, true);
    EXPECT_EQ(device.Stats().primitives, 4u + 8u);
    renderer.RenderMesh(full, false);
    EXPECT_EQ(device.Stats().primitives, 4u + 16u);
    full->levels.Clear();  // the levels belong to the registry here
}

// With no error allowed (the options' default), a level still stands in for the mesh
// where it strays less than half a pixel from it, and only there.
TEST(ModelDrawingTest, WithoutErrorALevelIsDrawnOnlyWhereItsErrorIsBelowHalfAPixel) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    renderer.lodError = 0.0f;
    Camera camera;
    camera.nearPlane = 1.0f;
    camera.farPlane = 1000.0f;
    camera.SetFieldOfView(1.0f);
    camera.SetAspect(4.0f / 3.0f);
    camera.SetPosition(Vector3(0, 0, 0));
    camera.SetDirection(Vector3(0, 0, 1));
    renderer.SetCamera(camera);
    const float pixelsPerUnitAtOne = 1.0f / (2.0f * renderer.GetPixelScale());
    // Level errors of 0.3, 0.6 and 3 pixels seen from distance 1; the mesh is 1 unit across.
    const float pixel = 1.0f / pixelsPerUnitAtOne;
    Mesh* full = QuadLevels(renderer, 0.3f * pixel, 0.6f * pixel, 3.0f * pixel);
    full->bounds = Sphere(Vector3(), 0.5f);
    ASSERT_TRUE(renderer.GetReady());
    auto drawnAt = [&](float distance) {
        const uint32_t before = device.Stats().primitives;
        Matrix4 world;
        world.SetTranslation(Vector3(0, 0, distance));
        renderer.SetWorldMatrix(world);
        renderer.RenderMesh(full, true);
        return device.Stats().primitives - before;
    };
    EXPECT_EQ(drawnAt(0.5f), 8u);  // 0.6 pixels and more: every level's error shows
    EXPECT_EQ(drawnAt(1.0f), 6u);  // 0.3 pixels: the first level
    EXPECT_EQ(drawnAt(1.5f), 4u);  // 0.4 pixels: the second
    EXPECT_EQ(drawnAt(5.5f), 4u);  // the third strays 0.55 pixels
    EXPECT_EQ(drawnAt(6.5f), 2u);  // and here 0.46: the coarsest
    full->levels.Clear();
}

TEST(ModelDrawingTest, MeshesSmallerThanTheLimitAreLeftOutWhenDrawnWithLevels) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    Camera camera;
    camera.kind = Camera::kOrthographic;
    camera.viewWidth = 1024;
    camera.viewHeight = 768;
    renderer.SetCamera(camera);
    Mesh* quad = renderer.CreateColoredQuad(QuadRect{0, 0, 1, 1}, Color(0xFFFFFFFFu), 0, 0, 0);
    quad->bounds = Sphere(Vector3(0, 0, 5), 0.2f);  // 0.4 pixels across
    ASSERT_TRUE(renderer.GetReady());
    renderer.RenderMesh(quad, true);
    EXPECT_EQ(device.Stats().drawCalls, 1u);
    renderer.smallestMeshPixels = 1.0f;
    renderer.RenderMesh(quad, true);
    EXPECT_EQ(device.Stats().drawCalls, 1u);
    renderer.RenderMesh(quad, false);
    EXPECT_EQ(device.Stats().drawCalls, 2u);
    quad->bounds.radius = 1.0f;  // 2 pixels across
    renderer.RenderMesh(quad, true);
    EXPECT_EQ(device.Stats().drawCalls, 3u);
    quad->bounds = Sphere::Empty();  // never measured: drawn
    renderer.RenderMesh(quad, true);
    EXPECT_EQ(device.Stats().drawCalls, 4u);
}

TEST(ModelInstanceTest, ReleasedInstancesAreHandedOutAgain) {
    Renderer renderer;
    Tree tree = MakeTree(renderer, nullptr);
    tree.root->name = "Body";
    ModelNode* instance = renderer.CloneModel(tree.root, true);
    EXPECT_EQ(instance->source, tree.root);
    EXPECT_EQ(instance->name, "Body");
    EXPECT_EQ(instance->firstChild->nextSibling->source, tree.leg);
    EXPECT_EQ(instance->firstChild->firstChild->local.GetTranslation(), Vector3(0, 0, 1));
    instance->local.SetTranslation(Vector3(7, 7, 7));
    renderer.RegisterModel(instance);
    EXPECT_EQ(instance->local, tree.root->local);
    EXPECT_EQ(renderer.CloneModel(tree.root, true), instance);
    EXPECT_NE(renderer.CloneModel(tree.root, true), instance);

    // A copy without reuse has no source, and goes back as plain nodes.
    ModelNode* copy = renderer.CloneModel(tree.hand, false);
    EXPECT_EQ(copy->source, nullptr);
    renderer.RegisterModel(copy);
    EXPECT_EQ(copy->name, "");
    EXPECT_EQ(renderer.NewModelNode(), copy);
}

TEST(ModelInstanceTest, MeshListWalksTheTreeChildrenFirstWithoutNewNodes) {
    Renderer renderer;
    Mesh* a = renderer.CreateMesh(0, 0, 0, 0);
    Tree tree = MakeTree(renderer, a);
    ModelNode* spare = renderer.NewModelNode();
    renderer.RegisterModel(spare);
    Array<MeshInstance> list;
    renderer.GetModelMeshList(tree.root, list);
    renderer.GetModelMeshList(tree.root, list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0].world.GetTranslation(), Vector3(10, 5, 1));  // the hand
    EXPECT_EQ(list[1].world.GetTranslation(), Vector3(10, 5, 0));  // the arm
    EXPECT_EQ(list[2].world.GetTranslation(), Vector3(10, 0, 0));  // the root
    EXPECT_EQ(list[2].mesh, a);
    // The released node is still the next one handed out: nothing was taken.
    EXPECT_EQ(renderer.NewModelNode(), spare);
}

TEST(ModelNodeTest, FindByNameSearchesTheWholeTreeDepthFirst) {
    ModelNode root("Body");
    ModelNode* arm = root.AddChild(std::make_unique<ModelNode>("Arm"));
    ModelNode* muzzle = arm->AddChild(std::make_unique<ModelNode>("Weapon1"));
    root.AddChild(std::make_unique<ModelNode>("Weapon1"));
    EXPECT_EQ(root.FindByName("WEAPON1"), muzzle);
    EXPECT_EQ(root.FindByName("Body"), &root);
    EXPECT_EQ(root.FindByName("Head"), nullptr);
    // A tree without mesh positions has no surface to pick from.
    muzzle->local.SetTranslation(Vector3(4, 5, 6));
    EXPECT_EQ(root.GetRandomPoint(), Vector3(0, 0, 0));
}

TEST(ModelLoadingTest, ModelsAndActorSetsAreCachedByPath) {
    TempFolder folder;
    for (const char* name : {"Rock", "Tree"}) {
        std::ofstream(folder / (std::string(name) + ".obj")) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    }
    const String rockPath = (folder / "Rock.obj").c_str();
    Renderer renderer;
    ModelNode* rock = renderer.LoadModel(rockPath, 1.0f, 4.0f, 0);
    ASSERT_NE(rock, nullptr);
    // Every caller gets its own instance of the one model read.
    ModelNode* again = renderer.LoadModel(rockPath, 1.0f, 4.0f, 0);
    EXPECT_NE(again, rock);
    EXPECT_EQ(again->source, rock->source);
    EXPECT_NE(renderer.LoadModel((folder / "Tree.obj").c_str(), 1.0f, 8.0f, 0)->source, rock->source);
    Array<ActorSetEntry> entries;
    ModelNode* first = renderer.LoadActorSet(rockPath, entries, 0.02f, false, ModelLoadSettings(), false, true);
    ASSERT_EQ(entries.Count(), 1);
    EXPECT_EQ(entries[0].root, first);
    EXPECT_EQ(renderer.LoadActorSet(rockPath, entries, 0.02f, false, ModelLoadSettings(), false, true)->source,
              first->source);
    renderer.RenderModel(rock, true, true);
    renderer.RenderModel(nullptr, true, true);
    EXPECT_EQ(renderer.renderModelCount, 1);
}

// --- sprites

TEST(SpriteDrawingTest, SpritesArePlacedByTheirAnchorAndBlendedTwice) {
    TempFolder folder;
    const String path = SolidTga(folder, "Icon.tga", Color(0xFFFFFFFFu));
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    Sprite* sprite = renderer.CreateSprite(10, 20, 5, 6, path, 1);
    ASSERT_NE(sprite->quad, nullptr);
    EXPECT_NE(sprite->quad->deviceMesh, nullptr);
    EXPECT_EQ(sprite->quad->faces[0].material->stages[0].addressU, uint32_t(gfx::Address::Clamp));
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    renderer.DrawSprite(*sprite);
    ASSERT_EQ(device.Draws().size(), 2u);
    const Matrix4& m = device.Draws()[1].world;
    EXPECT_EQ(m[0], 5.0f);
    EXPECT_EQ(m[5], 6.0f);
    EXPECT_EQ(m.GetTranslation(), Vector3(8, 17, 0));  // 10 - 5 / 2 and 20 - 6 / 2
    EXPECT_FALSE(renderer.IsAlphaBlendOn());

    sprite->anchor = 0;
    renderer.DrawSpriteUniformScale(*sprite, 2.0f);
    EXPECT_EQ(device.Draws().back().world[0], 10.0f);
    EXPECT_EQ(device.Draws().back().world.GetTranslation(), Vector3(10, 20, 0));
}

TEST(SpriteDrawingTest, RotatedSpriteTurnsAboutItsPivot) {
    Renderer renderer;
    gfx::RecordingDevice& device = Recording(renderer);
    Sprite* sprite = renderer.CreateSprite(4, 2, "");
    sprite->anchor = 1;
    device.SetCallLog(true);
    ASSERT_TRUE(renderer.GetReady());
    // A quarter turn with pivot 0 turns about the centre; anchor 1 then puts the centre
    // at the position.
    const float quarter = std::numbers::pi_v<float> / 2;
    renderer.DrawSpriteRotated(*sprite, Vector2(100, 50), Vector2(1, 1), quarter, Vector2(0, 0), Matrix4());
    ASSERT_EQ(device.Draws().size(), 1u);
    const Matrix4& m = device.Draws()[0].world;
    // Quad corner (0, 0) -> (-2, -1) around the centre, turned to (1, -2), placed at
    // (100, 50).
    const Vector3 corner = TransformPoint(m, Vector3(0, 0, 0));
    EXPECT_NEAR(corner.x, 101.0f, 1e-4);
    EXPECT_NEAR(corner.y, 48.0f, 1e-4);
    const Vector3 opposite = TransformPoint(m, Vector3(1, 1, 0));
    EXPECT_NEAR(opposite.x, 99.0f, 1e-4);
    EXPECT_NEAR(opposite.y, 52.0f, 1e-4);

    // No turn: the pivot only shifts the placement.
    Matrix4 lift;
    lift.SetTranslation(Vector3(0, 0, 0.5f));
    renderer.DrawSpriteRotated(*sprite, Vector2(100, 50), Vector2(2, 1), 0.0f, Vector2(1, 1), lift);
    EXPECT_EQ(device.Draws()[1].world.GetTranslation(), Vector3(97, 50, 0.5f));
}

}  // namespace
