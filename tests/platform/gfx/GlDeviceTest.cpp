// Frames drawn through the GL backend headless, checked pixel by pixel against colours
// worked out from the device's rules (within 2 per channel).
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/Image.h"
#include "platform/gfx/DeviceMesh.h"
#include "platform/gfx/GlDevice.h"
#include "platform/gfx/TextureFile.h"
#include "support/TempFolder.h"

namespace {
// Set once a GL context has been opened in this process.
bool glContextOpened = false;
}  // namespace

// Mesa's drivers keep allocations until the process ends, some in libraries they have
// already unloaded, so no suppression can name them: a process that opened a GL
// context skips the leak check at exit.
extern "C" int __lsan_is_turned_off() { return glContextOpened ? 1 : 0; }

namespace {

using namespace gfx;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

struct ColourVertex {
    float x, y, z;
    uint32_t colour;
};
struct LitVertex {
    float x, y, z, nx, ny, nz;
};
struct TexturedVertex {
    float x, y, z;
    uint32_t colour;
    float u0, v0, u1, v1;
};
struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};

constexpr VertexFormat kColourFormat = kFormatPosition | kFormatDiffuse;
constexpr VertexFormat kLitFormat = kFormatPosition | kFormatNormal;
constexpr VertexFormat kTexturedFormat = kFormatPosition | kFormatDiffuse | FormatTex(2);
constexpr VertexFormat kScreenFormat = kFormatScreenPosition | kFormatDiffuse | FormatTex(1);

uint32_t Rgba(int r, int g, int b, int a = 255) {
    return Color::FromRGBA(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)).argb;
}

// World x and y are pixels (y downwards), z is depth 0..1: an orthographic
// projection in the device's row-vector form.
Matrix4 PixelProjection() {
    Matrix4 m;
    m[0] = 2.0f / kWidth;
    m[5] = -2.0f / kHeight;
    m[12] = -1.0f;
    m[13] = 1.0f;
    return m;
}

class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no video: " << SDL_GetError();
        PrepareGlWindowAttributes();
        glContextOpened = true;
        window_ = SDL_CreateWindow("gfx test", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window_ == nullptr) GTEST_SKIP() << "no GL window: " << SDL_GetError();
        auto created = GlDevice::Create(window_, PresentParams());
        if (created.result != Result::Ok) GTEST_SKIP() << "no GL 2.1 context";
        device_ = std::move(created.object);
        ASSERT_EQ(device_->BackBufferWidth(), uint32_t(kWidth));
        device_->SetTransform(TransformKind::Projection, PixelProjection());
        ASSERT_EQ(device_->BeginScene(), Result::Ok);
        device_->Clear({}, kClearTarget | kClearDepth, Color(Rgba(0, 0, 0)), 1.0f);
    }

    void TearDown() override {
        device_.reset();  // GL objects go while the context lives
        if (window_ != nullptr) SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    void Draw(PrimitiveType type, uint32_t count, const void* vertices, uint32_t stride, VertexFormat format) {
        ASSERT_EQ(device_->SetVertexFormat(format), Result::Ok);
        ASSERT_EQ(device_->DrawPrimitiveUP(type, count, vertices, stride), Result::Ok);
    }

    // A quad of two clockwise triangles from (x0, y0) to (x1, y1) in one colour.
    void Quad(float x0, float y0, float x1, float y1, float z, uint32_t colour) {
        const ColourVertex v[6] = {{x0, y0, z, colour}, {x1, y0, z, colour}, {x1, y1, z, colour},
                                   {x0, y0, z, colour}, {x1, y1, z, colour}, {x0, y1, z, colour}};
        Draw(PrimitiveType::TriangleList, 2, v, sizeof(ColourVertex), kColourFormat);
    }

    const Image& Frame() {
        if (frame_.IsEmpty()) {
            EXPECT_EQ(device_->EndScene(), Result::Ok);
            EXPECT_EQ(device_->ReadBackBuffer(frame_), Result::Ok);
        }
        return frame_;
    }

    void ExpectPixel(int x, int y, int r, int g, int b) {
        const Color c = Frame().At(x, y);
        EXPECT_NEAR(c.Red(), r, 2) << "red at " << x << "," << y;
        EXPECT_NEAR(c.Green(), g, 2) << "green at " << x << "," << y;
        EXPECT_NEAR(c.Blue(), b, 2) << "blue at " << x << "," << y;
    }

    SDL_Window* window_ = nullptr;
    std::unique_ptr<GlDevice> device_;
    Image frame_;
};

TEST_F(GlDeviceTest, ClearStaysInsideTheViewport) {
    device_->Clear({}, kClearTarget, Color(Rgba(0, 0, 255)), 1.0f);
    ASSERT_EQ(device_->SetViewport({16, 8, 20, 10, 0, 1}), Result::Ok);
    device_->Clear({}, kClearTarget, Color(Rgba(255, 0, 0)), 1.0f);
    ExpectPixel(16, 8, 255, 0, 0);
    ExpectPixel(35, 17, 255, 0, 0);
    ExpectPixel(15, 8, 0, 0, 255);
    ExpectPixel(36, 8, 0, 0, 255);
    ExpectPixel(16, 7, 0, 0, 255);
    ExpectPixel(16, 18, 0, 0, 255);
}

// Whole clears wait for the next draw; each keeps what it cleared and the later wins.
TEST_F(GlDeviceTest, WholeClearsBeforeADrawKeepWhatEachCleared) {
    device_->SetRenderState(RenderState::Lighting, false);
    device_->Clear({}, kClearTarget | kClearDepth, Color(Rgba(255, 0, 0)), 1.0f);
    device_->Clear({}, kClearDepth, Color(Rgba(0, 255, 0)), 0.4f);
    device_->Clear({}, kClearTarget, Color(Rgba(0, 0, 255)), 1.0f);
    Quad(0, 0, 16, 24, 0.5f, Rgba(255, 255, 0));  // behind the cleared depth: hidden
    Quad(16, 0, 32, 24, 0.3f, Rgba(255, 255, 255));
    ExpectPixel(4, 4, 0, 0, 255);
    ExpectPixel(20, 4, 255, 255, 255);
}

TEST_F(GlDeviceTest, UnlitTriangleInterpolatesVertexColours) {
    device_->SetRenderState(RenderState::Lighting, false);
    // Top-left, top-right, bottom-left: clockwise on screen, so it faces the viewer.
    const ColourVertex v[3] = {
        {0, 0, 0.5f, Rgba(255, 0, 0)}, {64, 0, 0.5f, Rgba(0, 255, 0)}, {0, 48, 0.5f, Rgba(0, 0, 255)}};
    Draw(PrimitiveType::TriangleList, 1, v, sizeof(ColourVertex), kColourFormat);
    // Pixel (16, 12): weights 1 - 16/64 - 12/48 = 0.5, 0.25 and 0.25.
    ExpectPixel(16, 12, 128, 64, 64);
    ExpectPixel(0, 0, 255, 0, 0);
    ExpectPixel(40, 30, 0, 0, 0);  // beyond the diagonal
}

TEST_F(GlDeviceTest, CountsWindingOnScreenAndCullsCounterClockwise) {
    device_->SetRenderState(RenderState::Lighting, false);
    // Top-left, bottom-left, top-right: counter-clockwise on screen.
    const ColourVertex ccw[3] = {
        {2, 2, 0, Rgba(255, 255, 255)}, {2, 20, 0, Rgba(255, 255, 255)}, {20, 2, 0, Rgba(255, 255, 255)}};
    Draw(PrimitiveType::TriangleList, 1, ccw, sizeof(ColourVertex), kColourFormat);
    ColourVertex shifted[3];
    std::memcpy(shifted, ccw, sizeof ccw);
    for (ColourVertex& p : shifted) p.x += 30;
    device_->SetRenderState(RenderState::CullMode, Cull::None);
    Draw(PrimitiveType::TriangleList, 1, shifted, sizeof(ColourVertex), kColourFormat);
    ExpectPixel(5, 5, 0, 0, 0);
    ExpectPixel(35, 5, 255, 255, 255);
}

TEST_F(GlDeviceTest, DepthPassesWhenLessOrEqual) {
    device_->SetRenderState(RenderState::Lighting, false);
    Quad(0, 0, 32, 24, 0.5f, Rgba(255, 0, 0));
    Quad(0, 0, 16, 24, 0.5f, Rgba(0, 255, 0));     // equal depth: drawn
    Quad(8, 0, 32, 24, 0.7f, Rgba(0, 0, 255));     // farther: hidden
    Quad(24, 0, 32, 24, 0.2f, Rgba(255, 255, 0));  // nearer: drawn
    ExpectPixel(4, 4, 0, 255, 0);
    ExpectPixel(12, 4, 0, 255, 0);
    ExpectPixel(20, 4, 255, 0, 0);
    ExpectPixel(28, 4, 255, 255, 0);
}

TEST_F(GlDeviceTest, AlphaAndAdditiveBlending) {
    device_->SetRenderState(RenderState::Lighting, false);
    // No texture stage: colour and alpha come from the vertices.
    device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Disable);
    device_->Clear({}, kClearTarget, Color(Rgba(0, 0, 200)), 1.0f);
    device_->SetRenderState(RenderState::AlphaBlendEnable, true);
    device_->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device_->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    Quad(0, 0, 32, 48, 0.5f, Rgba(255, 0, 0, 64));
    device_->SetRenderState(RenderState::SrcBlend, Blend::One);
    device_->SetRenderState(RenderState::DestBlend, Blend::One);
    Quad(32, 0, 64, 48, 0.5f, Rgba(100, 100, 30));
    // 255 x 64/255 = 64 red; 200 x (1 - 64/255) = 149.8 blue.
    ExpectPixel(10, 10, 64, 0, 150);
    ExpectPixel(40, 10, 100, 100, 230);
}

TEST_F(GlDeviceTest, DirectionalLightInWorldSpaceWithoutAmbientOrSpecular) {
    Material material;
    material.diffuse = {0.8f, 0.6f, 0.4f, 1};
    material.ambient = {0.5f, 0.5f, 0.5f, 1};  // no ambient light anywhere: no effect
    material.specular = {1, 1, 1, 1};          // specular is off by default
    material.power = 1;
    device_->SetMaterial(material);
    Light light;
    light.type = LightType::Directional;
    light.diffuse = {1, 1, 0.5f, 1};
    light.specular = {1, 1, 1, 1};
    light.direction = {0, -0.6f, 0.8f};
    device_->SetLight(0, light);
    device_->LightEnable(0, true);

    // The same world seen through a turned view whose projection turns it back: the
    // picture and, with the light kept in world space, the lighting stay the same.
    const Matrix4 turn = Matrix::RotationY(1.5707964f);
    device_->SetTransform(TransformKind::View, turn);
    device_->SetTransform(TransformKind::Projection,
                          Matrix4::Multiply(Matrix::RotationY(-1.5707964f), PixelProjection()));

    auto created = DeviceMesh::Create(*device_, 1, 3, kLitFormat);
    ASSERT_EQ(created.result, Result::Ok);
    DeviceMesh& mesh = *created.object;
    uint8_t* bytes = nullptr;
    ASSERT_EQ(mesh.LockVertexBuffer(bytes), Result::Ok);
    const LitVertex v[3] = {{0, 0, 0.5f, 0, 0, -1}, {64, 0, 0.5f, 0, 0, -1}, {0, 48, 0.5f, 0, 0, -1}};
    std::memcpy(bytes, v, sizeof v);
    mesh.UnlockVertexBuffer();
    ASSERT_EQ(mesh.LockIndexBuffer(bytes), Result::Ok);
    const uint16_t face[3] = {0, 1, 2};
    std::memcpy(bytes, face, sizeof face);
    mesh.UnlockIndexBuffer();
    ASSERT_EQ(mesh.DrawSubset(0), Result::Ok);

    // N . L = (0, 0, -1) . (0, 0.6, -0.8) = 0.8; diffuse = material x light x 0.8.
    ExpectPixel(10, 10, 163, 122, 41);
}

TEST_F(GlDeviceTest, VertexColourStandsInForTheDiffuseMaterialAndNoNormalIsZero) {
    struct Vertex {
        float x, y, z, nx, ny, nz;
        uint32_t colour;
    };
    Light light;
    light.diffuse = {1, 1, 1, 1};
    light.direction = {0, 0, 1};  // straight at the viewer-facing normal (0, 0, -1)
    device_->SetLight(0, light);
    device_->LightEnable(0, true);
    const uint32_t c = Rgba(200, 100, 50);
    const Vertex lit[3] = {{0, 0, 0.5f, 0, 0, -1, c}, {20, 0, 0.5f, 0, 0, -1, c}, {0, 40, 0.5f, 0, 0, -1, c}};
    Draw(PrimitiveType::TriangleList, 1, lit, sizeof(Vertex), kFormatPosition | kFormatNormal | kFormatDiffuse);
    Quad(20, 0, 40, 40, 0.5f, Rgba(200, 100, 50));  // no normal: N . L = 0, black
    device_->SetRenderState(RenderState::Lighting, false);
    const LitVertex white[3] = {{40, 0, 0.5f, 0, 0, 0}, {64, 0, 0.5f, 0, 0, 0}, {40, 40, 0.5f, 0, 0, 0}};
    Draw(PrimitiveType::TriangleList, 1, white, sizeof(LitVertex), kLitFormat);
    ExpectPixel(4, 4, 200, 100, 50);
    ExpectPixel(24, 4, 0, 0, 0);
    ExpectPixel(44, 4, 255, 255, 255);  // unlit without a colour: white
}

TEST_F(GlDeviceTest, TwoTextureStagesCombine) {
    device_->SetRenderState(RenderState::Lighting, false);
    Image first(2, 2);
    first.At(0, 0) = Color(Rgba(200, 100, 50));
    first.At(1, 0) = Color(Rgba(0, 200, 0));
    first.At(0, 1) = Color(Rgba(0, 0, 200));
    first.At(1, 1) = Color(Rgba(255, 255, 255));
    Image second(1, 1);
    second.At(0, 0) = Color(Rgba(40, 60, 80));
    auto a = CreateTextureFromImage(*device_, first);
    auto b = CreateTextureFromImage(*device_, second);
    ASSERT_EQ(a.result, Result::Ok);
    ASSERT_EQ(b.result, Result::Ok);

    device_->SetTexture(0, a.object.get());
    device_->SetTexture(1, b.object.get());
    device_->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Add);
    device_->SetTextureStageState(1, TextureStageState::ColorArg1, kArgTexture);
    device_->SetTextureStageState(1, TextureStageState::ColorArg2, kArgCurrent);
    device_->SetTextureStageState(1, TextureStageState::AlphaOp, TextureOp::SelectArg1);
    device_->SetTextureStageState(1, TextureStageState::AlphaArg1, kArgCurrent);
    device_->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1u);

    const uint32_t c = Rgba(128, 255, 255);
    const TexturedVertex v[6] = {{8, 8, 0.5f, c, 0, 0, 0.5f, 0.5f},   {40, 8, 0.5f, c, 1, 0, 0.5f, 0.5f},
                                 {40, 40, 0.5f, c, 1, 1, 0.5f, 0.5f}, {8, 8, 0.5f, c, 0, 0, 0.5f, 0.5f},
                                 {40, 40, 0.5f, c, 1, 1, 0.5f, 0.5f}, {8, 40, 0.5f, c, 0, 1, 0.5f, 0.5f}};
    Draw(PrimitiveType::TriangleList, 2, v, sizeof(TexturedVertex), kTexturedFormat);
    device_->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Modulate);
    TexturedVertex right[6];
    std::memcpy(right, v, sizeof v);
    for (TexturedVertex& p : right) p.x += 24;
    device_->SetRenderState(RenderState::ZFunc, Compare::Always);
    Draw(PrimitiveType::TriangleList, 2, right, sizeof(TexturedVertex), kTexturedFormat);

    // Stage 0: texel x diffuse; (200, 100, 50) x (128, 255, 255) / 255 = (100.4, 100, 50).
    // Stage 1 adds (40, 60, 80).
    ExpectPixel(12, 12, 140, 160, 130);
    ExpectPixel(12, 36, 40, 60, 255);  // (0, 0, 200) + (40, 60, 80), clamped
    // Right quad, texel (1, 0) = (0, 200, 0), then x (40, 60, 80) / 255.
    ExpectPixel(60, 12, 0, 47, 0);
}

TEST_F(GlDeviceTest, UserClipPlaneStaysInWorldSpace) {
    device_->SetRenderState(RenderState::Lighting, false);
    ASSERT_EQ(device_->SetClipPlane(0, ClipPlane{1, 0, 0, -32}), Result::Ok);  // keeps x >= 32
    device_->SetRenderState(RenderState::ClipPlaneEnable, 1u);
    device_->SetTransform(TransformKind::View, Matrix::RotationY(0.5f));
    device_->SetTransform(TransformKind::Projection, Matrix4::Multiply(Matrix::RotationY(-0.5f), PixelProjection()));
    Quad(0, 0, 64, 48, 0.5f, Rgba(0, 255, 0));
    ExpectPixel(28, 20, 0, 0, 0);
    ExpectPixel(36, 20, 0, 255, 0);
}

TEST_F(GlDeviceTest, ScreenSpaceSpriteCoversExactPixels) {
    // Edges on integers: pixels 10..13 across and 10..12 down, nothing around them.
    const uint32_t c = Rgba(255, 255, 0);
    const ScreenVertex quad[4] = {
        {10, 10, 0.5f, 1, c, 0, 0}, {14, 10, 0.5f, 1, c, 1, 0}, {14, 13, 0.5f, 1, c, 1, 1}, {10, 13, 0.5f, 1, c, 0, 1}};
    device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg2);
    device_->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg2);
    Draw(PrimitiveType::TriangleFan, 2, quad, sizeof(ScreenVertex), kScreenFormat);
    for (int y = 9; y <= 13; ++y) {
        for (int x = 9; x <= 14; ++x) {
            const bool inside = x >= 10 && x <= 13 && y >= 10 && y <= 12;
            ExpectPixel(x, y, inside ? 255 : 0, inside ? 255 : 0, 0);
        }
    }
}

TEST_F(GlDeviceTest, TgaTextureUploadsReadsBackAndMapsTexelsOntoPixels) {
    platform_test::TempFolder folder;
    Image picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.At(x, y) = Color::FromRGBA(uint8_t(60 * x), uint8_t(100 * y), uint8_t(255 - 60 * x), 255);
    const std::string path = folder / "picture.tga";
    ASSERT_TRUE(picture.SaveTGA(path));
    auto created = CreateTextureFromFile(*device_, path);
    ASSERT_EQ(created.result, Result::Ok);
    EXPECT_EQ(CreateTextureFromFile(*device_, folder / "missing.tga").result, Result::NotFound);
    Image back;
    ASSERT_EQ(CopyTextureToImage(*created.object, back), Result::Ok);
    ASSERT_EQ(back.Width(), 4);
    EXPECT_EQ(std::memcmp(back.Pixels(), picture.Pixels(), 4 * 3 * 4), 0);

    // Pixel centres are at integers: a quad from 9.5 to 13.5 puts texel centres on
    // pixels 10..13 exactly.
    device_->SetTexture(0, created.object.get());
    device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    const uint32_t c = Rgba(255, 255, 255);
    const ScreenVertex quad[4] = {{9.5f, 9.5f, 0.5f, 1, c, 0, 0},
                                  {13.5f, 9.5f, 0.5f, 1, c, 1, 0},
                                  {13.5f, 12.5f, 0.5f, 1, c, 1, 1},
                                  {9.5f, 12.5f, 0.5f, 1, c, 0, 1}};
    Draw(PrimitiveType::TriangleFan, 2, quad, sizeof(ScreenVertex), kScreenFormat);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ExpectPixel(10 + x, 10 + y, 60 * x, 100 * y, 255 - 60 * x);
}

TEST_F(GlDeviceTest, LargeMeshDrawsThroughThirtyTwoBitIndices) {
    device_->SetRenderState(RenderState::Lighting, false);
    auto created = DeviceMesh::Create(*device_, 1, 70000, kColourFormat);
    ASSERT_EQ(created.result, Result::Ok);
    ASSERT_EQ(created.object->IndexType(), IndexFormat::Index32);
    uint8_t* bytes = nullptr;
    ASSERT_EQ(created.object->LockVertexBuffer(bytes), Result::Ok);
    const ColourVertex v[3] = {
        {0, 0, 0.5f, Rgba(0, 0, 255)}, {64, 0, 0.5f, Rgba(0, 0, 255)}, {0, 48, 0.5f, Rgba(0, 0, 255)}};
    std::memcpy(bytes + 69000 * sizeof(ColourVertex), v, sizeof v);
    created.object->UnlockVertexBuffer();
    ASSERT_EQ(created.object->LockIndexBuffer(bytes), Result::Ok);
    const uint32_t face[3] = {69000, 69001, 69002};
    std::memcpy(bytes, face, sizeof face);
    created.object->UnlockIndexBuffer();
    ASSERT_EQ(created.object->DrawSubset(0), Result::Ok);
    ExpectPixel(8, 8, 0, 0, 255);
}

// The GL is told the range of the indices each draw reads: from a base vertex, the range
// is the indices' own, and the draw reads the vertices it names there.
TEST_F(GlDeviceTest, IndexedDrawFromABaseVertexReadsTheVerticesItNames) {
    device_->SetRenderState(RenderState::Lighting, false);
    auto vb = device_->CreateVertexBuffer(6 * sizeof(ColourVertex), BufferUsage::Static);
    auto ib = device_->CreateIndexBuffer(6 * 2, IndexFormat::Index16, BufferUsage::Static);
    const uint32_t red = Rgba(255, 0, 0), green = Rgba(0, 255, 0);
    const ColourVertex v[6] = {{0, 0, 0.5f, red},    {64, 0, 0.5f, red},    {0, 48, 0.5f, red},
                               {64, 48, 0.5f, green}, {0, 48, 0.5f, green}, {64, 0, 0.5f, green}};
    const uint16_t indices[6] = {0, 1, 2, 1, 2, 0};
    uint8_t* bytes = nullptr;
    ASSERT_EQ(vb.object->Lock(0, 0, bytes), Result::Ok);
    std::memcpy(bytes, v, sizeof v);
    ASSERT_EQ(vb.object->Unlock(), Result::Ok);
    ASSERT_EQ(ib.object->Lock(0, 0, bytes), Result::Ok);
    std::memcpy(bytes, indices, sizeof indices);
    ASSERT_EQ(ib.object->Unlock(), Result::Ok);
    device_->SetVertexFormat(kColourFormat);
    device_->SetStreamSource(vb.object.get(), sizeof(ColourVertex));
    device_->SetIndices(ib.object.get());
    // Indices 1, 2, 0 from base vertex 3: the bottom-right triangle, clockwise.
    ASSERT_EQ(device_->DrawIndexedPrimitive(PrimitiveType::TriangleList, 3, 0, 3, 3, 1), Result::Ok);
    ExpectPixel(56, 40, 0, 255, 0);
    ExpectPixel(8, 8, 0, 0, 0);
}

TEST_F(GlDeviceTest, DynamicBufferRewrittenWholeAndRegrownDrawsTheNewContents) {
    device_->SetRenderState(RenderState::Lighting, false);
    device_->SetRenderState(RenderState::ZFunc, Compare::Always);
    auto fill = [](VertexBuffer& buffer, const std::vector<ColourVertex>& vertices) {
        uint8_t* bytes = nullptr;
        ASSERT_EQ(buffer.Lock(0, 0, bytes, kLockDiscard), Result::Ok);
        std::memcpy(bytes, vertices.data(), vertices.size() * sizeof(ColourVertex));
        ASSERT_EQ(buffer.Unlock(), Result::Ok);
    };
    const uint32_t red = Rgba(255, 0, 0), green = Rgba(0, 255, 0);
    auto small = device_->CreateVertexBuffer(3 * sizeof(ColourVertex), BufferUsage::Dynamic);
    fill(*small.object, {{0, 0, 0, red}, {32, 0, 0, red}, {0, 24, 0, red}});
    device_->SetVertexFormat(kColourFormat);
    device_->SetStreamSource(small.object.get(), sizeof(ColourVertex));
    ASSERT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleList, 0, 1), Result::Ok);
    // Six vertices no longer fit: a buffer of twice the size takes the old one's place.
    auto large = device_->CreateVertexBuffer(6 * sizeof(ColourVertex), BufferUsage::Dynamic);
    small.object.reset();
    EXPECT_EQ(device_->GetStreamSource(), nullptr);
    fill(*large.object, {{32, 0, 0, green},
                         {64, 0, 0, green},
                         {32, 24, 0, green},
                         {0, 24, 0, green},
                         {32, 24, 0, green},
                         {0, 48, 0, green}});
    device_->SetStreamSource(large.object.get(), sizeof(ColourVertex));
    ASSERT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleList, 0, 2), Result::Ok);
    ExpectPixel(4, 4, 255, 0, 0);
    ExpectPixel(36, 4, 0, 255, 0);
    ExpectPixel(4, 28, 0, 255, 0);
}

// A buffer gets its store from its first write. A discarding write that fits the store
// goes into it, so the store keeps its size; one that outgrows it makes a fresh store
// of its range; a draw past the store gets the rest of the buffer first.
TEST_F(GlDeviceTest, ADiscardingWriteGoesIntoAStoreItFitsAndReplacesOneItOutgrows) {
    device_->SetRenderState(RenderState::Lighting, false);
    device_->SetRenderState(RenderState::ZFunc, Compare::Always);
    constexpr uint32_t kVertices = 4096;
    constexpr uint32_t kWhole = kVertices * sizeof(ColourVertex);
    constexpr uint32_t kTriangle = 3 * sizeof(ColourVertex);
    auto buffer = device_->CreateVertexBuffer(kWhole, BufferUsage::Dynamic);
    VertexBuffer& vb = *buffer.object;
    EXPECT_EQ(vb.StoredBytes(), 0u);
    device_->ResetCounters();
    auto write = [&](uint32_t first, std::vector<ColourVertex> v, uint32_t flags) {
        uint8_t* bytes = nullptr;
        ASSERT_EQ(vb.Lock(first * sizeof(ColourVertex), uint32_t(v.size() * sizeof(ColourVertex)), bytes, flags),
                  Result::Ok);
        std::memcpy(bytes, v.data(), v.size() * sizeof(ColourVertex));
        ASSERT_EQ(vb.Unlock(), Result::Ok);
    };
    const uint32_t red = Rgba(255, 0, 0), green = Rgba(0, 255, 0), blue = Rgba(0, 0, 255);
    // Top-left triangle, then the bottom-right one after it.
    const std::vector<ColourVertex> topLeft = {{0, 0, 0.5f, red}, {64, 0, 0.5f, red}, {0, 48, 0.5f, red}};
    const std::vector<ColourVertex> bottomRight = {{64, 0, 0.5f, green}, {64, 48, 0.5f, green}, {0, 48, 0.5f, green}};
    write(0, topLeft, kLockDiscard);
    EXPECT_EQ(vb.StoredBytes(), kTriangle);
    std::vector<ColourVertex> both = topLeft;
    both.insert(both.end(), bottomRight.begin(), bottomRight.end());
    write(0, both, kLockDiscard);
    EXPECT_EQ(vb.StoredBytes(), 2 * kTriangle);
    std::vector<ColourVertex> blueTopLeft = topLeft;
    for (ColourVertex& v : blueTopLeft) v.colour = blue;
    write(0, blueTopLeft, kLockDiscard);
    EXPECT_EQ(vb.StoredBytes(), 2 * kTriangle);
    EXPECT_EQ(device_->Stats().bufferBytesSent, 4 * kTriangle);

    device_->SetVertexFormat(kColourFormat);
    device_->SetStreamSource(&vb, sizeof(ColourVertex));
    ASSERT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleList, 0, 2), Result::Ok);
    EXPECT_EQ(device_->Stats().bufferBytesSent, 4 * kTriangle);
    // Zeroed vertices past the store: the draw sends the whole buffer first.
    ASSERT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleList, 6, 1), Result::Ok);
    EXPECT_EQ(vb.StoredBytes(), kWhole);
    EXPECT_EQ(device_->Stats().bufferBytesSent, 4 * kTriangle + kWhole);
    ExpectPixel(8, 8, 0, 0, 255);    // the rewritten triangle
    ExpectPixel(56, 40, 0, 255, 0);  // the one the last write did not reach
}

TEST_F(GlDeviceTest, ATextureMadeBetweenDrawsLeavesTheBoundOneInItsStage) {
    struct Vertex {
        float x, y, z;
        uint32_t colour;
        float u, v;
    };
    device_->SetRenderState(RenderState::Lighting, false);
    device_->SetRenderState(RenderState::ZFunc, Compare::Always);
    device_->SetVertexFormat(kFormatPosition | kFormatDiffuse | FormatTex(1));
    auto texture = [this](uint32_t texel) {
        Image image(1, 1);
        image.At(0, 0) = Color(texel);
        return CreateTextureFromImage(*device_, image).object;
    };
    auto quad = [this](float x0) {
        const uint32_t white = Rgba(255, 255, 255);
        const float x1 = x0 + 16;
        const Vertex v[6] = {{x0, 0, 0, white, 0, 0}, {x1, 0, 0, white, 1, 0},  {x1, 48, 0, white, 1, 1},
                             {x0, 0, 0, white, 0, 0}, {x1, 48, 0, white, 1, 1}, {x0, 48, 0, white, 0, 1}};
        ASSERT_EQ(device_->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, v, sizeof(Vertex)), Result::Ok);
    };
    auto red = texture(Rgba(255, 0, 0));
    auto green = texture(Rgba(0, 255, 0));
    device_->SetTexture(0, red.get());
    quad(0);
    // Only the first stage changes, so its unit is the one selected when the blue
    // texture is made, which binds it there.
    device_->SetTexture(0, green.get());
    quad(16);
    auto blue = texture(Rgba(0, 0, 255));
    quad(32);
    ExpectPixel(8, 10, 255, 0, 0);
    ExpectPixel(24, 10, 0, 255, 0);
    ExpectPixel(40, 10, 0, 255, 0);
}

TEST_F(GlDeviceTest, AlphaTestDropsFragmentsBelowTheReference) {
    device_->SetRenderState(RenderState::Lighting, false);
    device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Disable);
    device_->SetRenderState(RenderState::AlphaTestEnable, true);
    device_->SetRenderState(RenderState::AlphaFunc, Compare::Greater);
    device_->SetRenderState(RenderState::AlphaRef, 128u);
    Quad(0, 0, 32, 48, 0.5f, Rgba(255, 255, 255, 128));
    Quad(32, 0, 64, 48, 0.5f, Rgba(255, 255, 255, 129));
    ExpectPixel(10, 10, 0, 0, 0);
    ExpectPixel(40, 10, 255, 255, 255);
}

}  // namespace

// A still layer drawn over a waiting clear comes back in later frames, depth and all, in
// place of its draws; with a setting changed, another key or something drawn before it,
// its draws are made again.
TEST_F(GlDeviceTest, AStillLayerComesBackAndDrawsAgainWhenItsSettingsChange) {
    device_->SetRenderState(RenderState::Lighting, false);
    auto frame = [&](uint64_t key, uint32_t layerColour, bool drawFirst) {
        device_->Clear({}, kClearTarget | kClearDepth, Color(Rgba(0, 0, 0)), 1.0f);
        if (drawFirst) Quad(0, 40, 8, 48, 0.5f, Rgba(255, 255, 255));
        device_->BeginStillLayer(key);
        Quad(0, 0, 32, 24, 0.5f, layerColour);
        device_->EndStillLayer();
        Quad(16, 0, 48, 24, 0.7f, Rgba(0, 255, 0));  // behind the layer where they overlap
        Image picture;
        EXPECT_EQ(device_->EndScene(), Result::Ok);
        EXPECT_EQ(device_->ReadBackBuffer(picture), Result::Ok);
        EXPECT_EQ(device_->Present(), Result::Ok);
        EXPECT_EQ(device_->BeginScene(), Result::Ok);
        return picture;
    };
    auto colourAt = [](const Image& picture, int x, int y) { return picture.At(x, y).argb | 0xFF000000u; };
    const uint32_t red = Rgba(255, 0, 0), blue = Rgba(0, 0, 255), green = Rgba(0, 255, 0);
    // Kept from the second frame that draws it alike.
    EXPECT_EQ(colourAt(frame(1, red, false), 4, 4), red);
    EXPECT_EQ(colourAt(frame(1, red, false), 4, 4), red);
    // The same layer and settings: the kept picture, not the draw, whose colour differs.
    const Image kept = frame(1, blue, false);
    EXPECT_EQ(colourAt(kept, 4, 4), red);
    EXPECT_EQ(colourAt(kept, 20, 4), red);  // the kept depth hides the green quad
    EXPECT_EQ(colourAt(kept, 40, 4), green);
    EXPECT_EQ(colourAt(frame(2, blue, false), 4, 4), blue);  // another key
    EXPECT_EQ(colourAt(frame(2, blue, false), 4, 4), blue);
    device_->SetRenderState(RenderState::CullMode, Cull::None);
    EXPECT_EQ(colourAt(frame(2, red, false), 4, 4), red);  // another setting
    EXPECT_EQ(colourAt(frame(2, red, false), 4, 4), red);
    const Image over = frame(2, blue, true);  // not over a bare clear
    EXPECT_EQ(colourAt(over, 4, 4), blue);
    EXPECT_EQ(colourAt(over, 4, 44), Rgba(255, 255, 255));
}
