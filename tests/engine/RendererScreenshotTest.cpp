// Frames drawn through the renderer on the GL backend, headless, checked pixel by pixel
// against colours worked out from the fixed-function rules (within 2 per channel, 3
// where colours are interpolated). The pixel camera makes world x and y screen pixels
// and z the depth, so a quad from x0 to x1 covers pixels x0 .. x1 - 1.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GlTestWindow.h"
#include "TestFont.h"
#include "core/Image.h"
#include "engine/Font.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

Color Rgba(int r, int g, int b, int a = 255) { return Color::FromRGBA(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)); }

Image Solid(int width, int height, Color colour) {
    Image image(width, height);
    image.Fill(colour);
    return image;
}

class RendererScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer_);
        if (!failure.empty()) GTEST_SKIP() << failure;
        ASSERT_STREQ(renderer_.GetDevice().BackendName(), "opengl");
        ASSERT_TRUE(renderer_.GetReady());
        camera_.SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
        renderer_.SetCamera(camera_);
        renderer_.DisableLighting();
        renderer_.Clear(Rgba(0, 0, 0), 1.0f, 3);
    }

    void TearDown() override {
        renderer_.Shutdown();  // GL objects go while the context lives
        window_.reset();
    }

    const Image& Frame() {
        if (frame_.IsEmpty()) {
            renderer_.EndFrame();
            EXPECT_EQ(renderer_.GetDevice().ReadBackBuffer(frame_), gfx::Result::Ok);
        }
        return frame_;
    }

    void ExpectPixel(int x, int y, int r, int g, int b, int tolerance = 2) {
        const Color c = Frame().At(x, y);
        EXPECT_NEAR(c.Red(), r, tolerance) << "red at " << x << "," << y;
        EXPECT_NEAR(c.Green(), g, tolerance) << "green at " << x << "," << y;
        EXPECT_NEAR(c.Blue(), b, tolerance) << "blue at " << x << "," << y;
    }

    // A quad of one colour from (x0, y0) to (x1, y1) at depth z, drawn at once.
    Mesh* Quad(float x0, float y0, float x1, float y1, float z, Color colour, int flip = 0) {
        Mesh* quad = renderer_.CreateColoredQuad(QuadRect{x0, y0, x1, y1}, colour, z, 0, flip);
        renderer_.RenderMesh(quad, false);
        return quad;
    }

    std::unique_ptr<win::SystemWindow> window_;
    Renderer renderer_;
    Camera camera_;
    Image frame_;
};

TEST_F(RendererScreenshotTest, FlatMeshShowsItsVertexColours) {
    Quad(10, 10, 20, 20, 0.5f, Rgba(255, 0, 0));
    Mesh* blend = renderer_.CreateColoredQuad(QuadRect{30, 10, 40, 20}, Rgba(0, 0, 255), 0.5f, 0, 0);
    blend->vertices[1].color = Rgba(255, 0, 0);
    blend->vertices[2].color = Rgba(255, 0, 0);
    renderer_.RenderMesh(blend, false);
    ExpectPixel(10, 10, 255, 0, 0);
    ExpectPixel(19, 19, 255, 0, 0);
    ExpectPixel(20, 20, 0, 0, 0);
    ExpectPixel(9, 10, 0, 0, 0);
    // Halfway from the blue left edge to the red right one.
    ExpectPixel(35, 15, 128, 0, 128, 3);
}

TEST_F(RendererScreenshotTest, LitMeshTakesTheLightByItsNormals) {
    Light light;
    light.direction = Vector3(0, 0, 1);  // into the screen, onto faces that look back
    light.diffuse = {1, 1, 1, 1};
    light.ambient = {0, 0, 0, 1};
    renderer_.SetLight(light, true, 0);
    renderer_.EnableLighting();
    Material* material = renderer_.CreateMaterial();
    material->diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    material->ambient = {0, 0, 0, 1};
    Mesh* facing = renderer_.CreateQuad(QuadRect{4, 4, 24, 24}, material, 0.5f, 0, 0);
    facing->hasNormals = 1;
    facing->hasColors = 0;
    Mesh* tilted = renderer_.CreateQuad(QuadRect{34, 4, 54, 24}, material, 0.5f, 0, 0);
    tilted->hasNormals = 1;
    tilted->hasColors = 0;
    // Turned 60 degrees from the light: N . L = cos 60 = 0.5.
    for (MeshVertex& v : tilted->vertices) v.normal = Vector3(std::sqrt(3.0f) / 2, 0, -0.5f);
    renderer_.RenderMesh(facing, false);
    renderer_.RenderMesh(tilted, false);
    ExpectPixel(10, 10, 128, 64, 255);
    ExpectPixel(40, 10, 64, 32, 128);
    ExpectPixel(30, 10, 0, 0, 0);
}

TEST_F(RendererScreenshotTest, TwoTextureStagesCombine) {
    TextureHandle a = renderer_.CreateTextureImage(Solid(2, 2, Rgba(200, 100, 50)), 1);
    TextureHandle b = renderer_.CreateTextureImage(Solid(2, 2, Rgba(128, 255, 0)), 1);
    Material* modulate = renderer_.CreateMaterial();
    modulate->stages.Append(TextureStageSettings(a));
    modulate->stages.Append(TextureStageSettings(b));
    renderer_.RenderMesh(renderer_.CreateQuad(QuadRect{0, 0, 20, 20}, modulate, 0.5f, 0, 0), false);

    TextureHandle c = renderer_.CreateTextureImage(Solid(2, 2, Rgba(100, 50, 20)), 1);
    TextureHandle d = renderer_.CreateTextureImage(Solid(2, 2, Rgba(60, 70, 80)), 1);
    Material* add = renderer_.CreateMaterial();
    add->stages.Append(TextureStageSettings(c));
    add->stages.Append(TextureStageSettings(d));
    add->stages[1].colorOp = uint32_t(gfx::TextureOp::Add);
    renderer_.RenderMesh(renderer_.CreateQuad(QuadRect{30, 0, 50, 20}, add, 0.5f, 0, 0), false);
    // Stage 0: texture x white vertex colour; stage 1: that x (or +) its texture.
    ExpectPixel(10, 10, 100, 100, 0);
    ExpectPixel(40, 10, 160, 120, 100);
}

TEST_F(RendererScreenshotTest, AlphaAndAdditiveBlending) {
    Quad(0, 0, 20, 20, 0.5f, Rgba(0, 0, 255));
    renderer_.SetAlphaBlend();
    Quad(0, 0, 20, 20, 0.5f, Rgba(255, 0, 0, 128));
    renderer_.SetBlendOff();
    Quad(30, 0, 50, 20, 0.5f, Rgba(100, 50, 0));
    renderer_.SetAdditiveBlend();
    Quad(30, 0, 50, 20, 0.5f, Rgba(100, 100, 100));
    renderer_.SetBlendOff();
    // 255 x 128/255 over 255 x 127/255.
    ExpectPixel(10, 10, 128, 0, 127);
    ExpectPixel(40, 10, 200, 150, 100);
}

TEST_F(RendererScreenshotTest, FlippedQuadIsCulledAndDepthHidesFartherFaces) {
    Quad(0, 0, 10, 10, 0.5f, Rgba(255, 255, 255), 1);
    renderer_.GetDevice().SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
    Quad(10, 0, 20, 10, 0.5f, Rgba(255, 255, 255), 1);
    renderer_.GetDevice().SetRenderState(gfx::RenderState::CullMode, gfx::Cull::CounterClockwise);
    Quad(30, 0, 50, 20, 0.3f, Rgba(255, 0, 0));
    Quad(30, 0, 40, 20, 0.6f, Rgba(0, 255, 0));  // farther: hidden
    Quad(45, 0, 50, 20, 0.2f, Rgba(0, 0, 255));  // nearer: drawn
    ExpectPixel(5, 5, 0, 0, 0);
    ExpectPixel(15, 5, 255, 255, 255);
    ExpectPixel(35, 5, 255, 0, 0);
    ExpectPixel(47, 5, 0, 0, 255);
}

TEST_F(RendererScreenshotTest, ClearStaysInTheCamerasViewport) {
    Camera part;
    part.SetScreenView(IntRect(16, 8, 31, 23), true);
    renderer_.SetCamera(part);
    renderer_.ClearViewport(Rgba(0, 255, 0), 1.0f, 1);
    ExpectPixel(16, 8, 0, 255, 0);
    ExpectPixel(31, 23, 0, 255, 0);
    ExpectPixel(15, 8, 0, 0, 0);
    ExpectPixel(32, 23, 0, 0, 0);
    ExpectPixel(16, 7, 0, 0, 0);
    ExpectPixel(16, 24, 0, 0, 0);
}

TEST_F(RendererScreenshotTest, SpritesLandOnExactPixels) {
    platform_test::TempFolder folder;
    Image halves(2, 1);
    halves.At(0, 0) = Rgba(255, 0, 0);
    halves.At(1, 0) = Rgba(0, 0, 255);
    ASSERT_TRUE(halves.SaveTGA(folder / "Halves.tga"));
    Sprite* corner = renderer_.CreateSprite(5, 7, 8, 6, String((folder / "Halves.tga").c_str()));
    Sprite* centred = renderer_.CreateSprite(40, 30, 8, 6, String((folder / "Halves.tga").c_str()), 1);
    centred->x = 40;
    centred->y = 30;
    renderer_.DrawSprite(*corner);
    renderer_.DrawSprite(*centred);
    EXPECT_FALSE(renderer_.IsAlphaBlendOn());
    // Pixels 5 .. 12 across and 7 .. 12 down; red on the left, blue on the right.
    ExpectPixel(5, 7, 255, 0, 0);
    ExpectPixel(12, 12, 0, 0, 255);
    ExpectPixel(4, 7, 0, 0, 0);
    ExpectPixel(13, 7, 0, 0, 0);
    ExpectPixel(5, 6, 0, 0, 0);
    ExpectPixel(5, 13, 0, 0, 0);
    // Centred on (40, 30): pixels 36 .. 43 and 27 .. 32.
    ExpectPixel(36, 27, 255, 0, 0);
    ExpectPixel(43, 32, 0, 0, 255);
    ExpectPixel(35, 27, 0, 0, 0);
    ExpectPixel(44, 32, 0, 0, 0);
    ExpectPixel(36, 26, 0, 0, 0);
    ExpectPixel(36, 33, 0, 0, 0);
}

TEST_F(RendererScreenshotTest, ClipPlanesOfTheCameraCutInWorldSpace) {
    // Keeps -x + 30 >= 0: everything left of x = 30.
    camera_.AddClipPlane(Plane(Vector3(-1, 0, 0), 30));
    renderer_.SetCamera(camera_);
    Quad(0, 0, 64, 48, 0.5f, Rgba(255, 0, 0));
    ExpectPixel(28, 10, 255, 0, 0);
    ExpectPixel(33, 10, 0, 0, 0);
}

TEST_F(RendererScreenshotTest, TextAfterALitFigureAndASpriteIsMadeOfGlyphs) {
    platform_test::TempFolder folder;
    Font font;
    renderer_.LoadFont(font, String(engine_test::WriteTestFont(folder.Path(), "Glyphs").c_str()), 1);
    // What a window with a figure leaves behind: a perspective view lit in its own
    // viewport, then a button sprite, which turns blending off when it is done.
    Camera figure;
    figure.SetScreenView(IntRect(0, 0, 31, 23), true);
    renderer_.SetCamera(figure);
    renderer_.EnableLighting();
    Light light;
    light.direction = Vector3(0, 0, 1);
    renderer_.SetLight(light, true, 0);
    Material* lit = renderer_.CreateMaterial();
    Mesh* body = renderer_.CreateQuad(QuadRect{2, 2, 20, 20}, lit, 0.5f, 0, 0);
    body->hasNormals = 1;
    renderer_.RenderMesh(body, false);
    const Image tga = Solid(2, 2, Rgba(0, 0, 255));
    ASSERT_TRUE(tga.SaveTGA(folder / "Button.tga"));
    renderer_.DrawSprite(*renderer_.CreateSprite(40, 2, 8, 8, String((folder / "Button.tga").c_str())));
    renderer_.SetCamera(camera_);
    renderer_.SetWorldMatrix(Matrix4());
    renderer_.DisableLighting();
    Quad(0, 24, 64, 48, 0.5f, Rgba(0, 0, 160));
    renderer_.EnableLighting();

    const String text("AB");
    renderer_.DrawText(text, Vector2(4, 26), font, Rgba(255, 255, 255), 1.0f);
    // Every texel of both glyphs lands on one pixel (the half-texel shift puts the first
    // on the pixel after the pen): white where the glyph is, the blue behind it between
    // its strokes (loosely: the point sampler lets a little of the neighbours in).
    int x = 5, wrong = 0;
    for (int i = 0; i < text.CharCount(); ++i) {
        const unsigned char code = static_cast<unsigned char>(text[i]);
        for (int row = 0; row < engine_test::kTestFontCell; ++row) {
            for (int column = 0; column < engine_test::TestGlyphWidth(code); ++column) {
                const Color wanted =
                    engine_test::TestGlyphTexel(code, column, row) ? Rgba(255, 255, 255) : Rgba(0, 0, 160);
                const Color seen = Frame().At(x + column, 27 + row);
                if (std::abs(int(seen.Red()) - wanted.Red()) > 16 || std::abs(int(seen.Blue()) - wanted.Blue()) > 16)
                    ++wrong;
            }
        }
        x += engine_test::TestGlyphWidth(code) + 1;
    }
    EXPECT_EQ(wrong, 0);
    engine_test::KeepPicture(Frame(), "TextAfterFigure");
}

}  // namespace
