// Text, a model seen through a window camera and sprite grids, drawn on the GL backend
// headless and checked pixel by pixel. Each frame is also kept under the build folder
// (tests/screenshots) for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "GlTestWindow.h"
#include "TestFont.h"
#include "core/Image.h"
#include "engine/Font.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TiltedCamera.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"

namespace {

using engine_test::TestGlyphTexel;
using engine_test::TestGlyphWidth;

constexpr int kWidth = 320;
constexpr int kHeight = 200;

Color Rgba(int r, int g, int b, int a = 255) { return Color::FromRGBA(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)); }

// The device keeps edges that lie on integers just off pixel centres, so texels are
// sampled a sixty-fourth of a texel off their centres and blend a little with their
// neighbours.
bool Near(Color pixel, Color expected, int tolerance = 20) {
    return std::abs(pixel.Red() - expected.Red()) <= tolerance &&
           std::abs(pixel.Green() - expected.Green()) <= tolerance &&
           std::abs(pixel.Blue() - expected.Blue()) <= tolerance;
}

class EngineScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer_);
        if (!failure.empty()) GTEST_SKIP() << failure;
        ASSERT_TRUE(renderer_.GetReady());
        screen_.SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
        renderer_.SetCamera(screen_);
        renderer_.DisableLighting();
        renderer_.Clear(Rgba(0, 0, 0), 1.0f, 3);
    }

    void TearDown() override {
        renderer_.Shutdown();  // GL objects go while the context lives
        window_.reset();
    }

    // The frame, read back once and kept as a picture.
    const Image& Frame(const char* pictureName) {
        if (frame_.IsEmpty()) {
            renderer_.EndFrame();
            EXPECT_EQ(renderer_.GetDevice().ReadBackBuffer(frame_), gfx::Result::Ok);
            std::cout << "picture: " << engine_test::KeepPicture(frame_, pictureName) << "\n";
        }
        return frame_;
    }

    std::unique_ptr<win::SystemWindow> window_;
    Renderer renderer_;
    Camera screen_;
    Image frame_;
};

// Each texel of a glyph covers one screen pixel: glyph column j of a character whose
// pen stands at x lands on pixel x + 1 + j, row r at pixel y + 1 + r (the half-texel
// offset moves the quad by half a pixel, onto the next pixel's area).
TEST_F(EngineScreenshotTest, TextLandsOnExactPixelsWithTheWidthFileAdvances) {
    platform_test::TempFolder folder;
    Font font;
    renderer_.LoadFont(font, String(engine_test::WriteTestFont(folder.Path(), "PixelFont").c_str()), 1);
    const char* lines[] = {"Vorns 2D!", "\tA\xC9{x}"};
    renderer_.SetAlphaBlend();
    renderer_.DrawText(String(lines[0]) + "\n" + lines[1], Vector2(10, 20), font, Rgba(255, 200, 0), 1.0f);
    renderer_.DrawText("Scaled", Vector2(10, 100), font, Rgba(0, 160, 255), 2.0f);
    renderer_.SetBlendOff();
    const Image& frame = Frame("text");

    int wrong = 0;
    for (int line = 0; line < 2; ++line) {
        int pen = 10;
        const int top = 20 + 16 * line;
        for (const char* c = lines[line]; *c != '\0'; ++c) {
            const unsigned char code = static_cast<unsigned char>(*c);
            if (!Font::IsPrintable(code)) continue;  // the tab and 0xC9 take no room
            for (int row = 0; row < 16; ++row) {
                for (int column = -1; column <= TestGlyphWidth(code); ++column) {
                    const Color pixel = frame.At(pen + 1 + column, top + 1 + row);
                    const bool lit = TestGlyphTexel(code, column, row);
                    if (!Near(pixel, lit ? Rgba(255, 200, 0) : Rgba(0, 0, 0))) ++wrong;
                }
            }
            pen += TestGlyphWidth(code) + 1;
        }
    }
    EXPECT_EQ(wrong, 0);
    // At scale 2 a glyph is twice as wide and high and the spacing stays 1: 'S' (83,
    // width 10) covers pixels 11 .. 30, 'c' (99, width 10) follows at 10 + 20 + 1 and
    // covers 32 .. 51. Linear filtering spreads each texel over three pixels: the left
    // columns reach pixels 11, 12 and 32, 33 with three quarters of their texel, in colour
    // and in alpha (255 x 0.75 x 0.75 = 143); the gap stays dark.
    for (int y : {108, 116, 119}) {
        EXPECT_TRUE(Near(frame.At(11, y), Rgba(0, 90, 143))) << y;
        EXPECT_TRUE(Near(frame.At(12, y), Rgba(0, 90, 143))) << y;
        EXPECT_TRUE(Near(frame.At(32, y), Rgba(0, 90, 143))) << y;
        EXPECT_TRUE(Near(frame.At(31, y), Rgba(0, 0, 0))) << y;
        EXPECT_TRUE(Near(frame.At(16, y), Rgba(0, 0, 0))) << y;
    }
}

// Sprites centred by the grid: a sprite of width w centred on x covers pixels
// x - w / 2 .. x - w / 2 + w - 1.
TEST_F(EngineScreenshotTest, SpriteGridsInRowsAndOnACircle) {
    platform_test::TempFolder folder;
    const Color colours[] = {Rgba(255, 0, 0),   Rgba(0, 255, 0),   Rgba(0, 0, 255),
                             Rgba(255, 255, 0), Rgba(255, 0, 255), Rgba(0, 255, 255)};
    std::vector<String> files;
    for (int i = 0; i < 6; ++i) {
        Image image(8, 8);
        image.Fill(colours[i]);
        files.push_back(String((folder / ("Button" + std::to_string(i) + ".tga")).c_str()));
        ASSERT_TRUE(image.SaveTGA(files.back().CStr()));
    }
    SpriteGrid* rows = renderer_.CreateSpriteGrid();
    SpriteGrid* circle = renderer_.CreateSpriteGrid();
    rows->SetItemsPerRow(3);
    rows->SetSpacing(4);
    circle->SetLayoutMode(SpriteGrid::kLayoutCircle);
    circle->SetRadius(50);
    for (int i = 0; i < 6; ++i) {
        rows->AddItem(renderer_.CreateSprite(24, files[i]), "row", i != 1);
        circle->AddItem(renderer_.CreateSprite(20, files[i]), "ring", true);
    }
    rows->Layout(Point(20, 20));
    circle->Layout(Point(230, 100));
    rows->UpdateHover(Point(40, 64));  // the fifth item: drawn last at 36 x 36
    renderer_.DrawSpriteGrid(*rows, true);
    renderer_.DrawSpriteGrid(*circle, false);
    EXPECT_EQ(rows->hovered, -1);
    const Image& frame = Frame("sprite_grids");

    // Rows of 24 + 4: item 0 centred (32, 32), item 2 (60, 32) - item 1 is hidden -
    // item 3 (88, 32), then a new row: item 4 (32, 60), item 5 (60, 60).
    const struct {
        int item, x, y, half;
    } rowPlaces[] = {{0, 32, 32, 12}, {2, 60, 32, 12}, {3, 88, 32, 12}, {4, 32, 60, 18}, {5, 60, 60, 12}};
    for (const auto& place : rowPlaces) {
        const Color colour = colours[place.item];
        EXPECT_TRUE(Near(frame.At(place.x, place.y), colour)) << place.item;
        EXPECT_TRUE(Near(frame.At(place.x + place.half - 1, place.y - place.half), colour)) << place.item;
    }
    // The enlarged item overlaps its neighbours: 14 .. 49 and 42 .. 77.
    EXPECT_TRUE(Near(frame.At(14, 77), colours[4]));
    EXPECT_TRUE(Near(frame.At(49, 42), colours[4]));
    EXPECT_TRUE(Near(frame.At(50, 78), Rgba(0, 0, 0)));
    EXPECT_TRUE(Near(frame.At(87 + 13, 32), Rgba(0, 0, 0)));
    EXPECT_TRUE(Near(frame.At(32 - 13, 32), Rgba(0, 0, 0)));
    // Six on the circle of 50: the first straight above, then every 60 degrees
    // clockwise, offsets truncated (cos 30 x 50 = 43.3 -> 43, sin 30 x 50 = 25). The
    // last one's angle, -7 pi / 6 in single precision, gives 24.99999 upward: 24.
    const Point ringPlaces[] = {{230, 50}, {273, 75}, {273, 125}, {230, 150}, {187, 125}, {187, 76}};
    for (int i = 0; i < 6; ++i) {
        const Point& p = ringPlaces[i];
        EXPECT_TRUE(Near(frame.At(p.x - 10, p.y - 10), colours[i])) << i;
        EXPECT_TRUE(Near(frame.At(p.x + 9, p.y + 9), colours[i])) << i;
        EXPECT_TRUE(Near(frame.At(p.x + 10, p.y), Rgba(0, 0, 0))) << i;
        EXPECT_TRUE(Near(frame.At(p.x, p.y - 11), Rgba(0, 0, 0))) << i;
    }
}

// A model tree seen through a tilted window camera: a ground tile of four coloured
// quarters with a smaller tile floating above and beside it, as a child node. Where the
// camera projects a point of the model, the frame shows that point's texel.
TEST_F(EngineScreenshotTest, TexturedModelThroughAWindowCamera) {
    // Four quarters of 4 x 4 texels inside a white rim: red, green / blue, yellow.
    Image quarters(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const Color colour =
                y < 4 ? (x < 4 ? Rgba(255, 0, 0) : Rgba(0, 255, 0)) : (x < 4 ? Rgba(0, 0, 255) : Rgba(255, 255, 0));
            quarters.At(x, y) = x == 0 || y == 0 || x == 7 || y == 7 ? Rgba(255, 255, 255) : colour;
        }
    }
    Image plain(2, 2);
    plain.Fill(Rgba(255, 0, 255));
    auto textured = [this](const Image& image, float half) {
        Material* material = renderer_.CreateMaterial();
        material->stages.Append(TextureStageSettings(renderer_.CreateTextureImage(image, 1)));
        Mesh* tile = renderer_.CreateQuad(QuadRect{-half, -half, half, half}, material, 0.0f, 0, 1);
        renderer_.CreateModelMeshes(tile);
        return tile;
    };
    ModelNode* root = renderer_.NewModelNode();
    root->mesh = textured(quarters, 10.0f);
    root->bounds = Sphere(Vector3(0, 0, 5), 30.0f);
    ModelNode* floating = renderer_.NewModelNode();
    floating->mesh = textured(plain, 3.0f);
    floating->local.SetTranslation(Vector3(0, 14, 5));
    root->LinkChild(floating);

    TiltedCamera camera;
    camera.SetHeading(Vector3(1, 0.3f, 0));
    camera.nearPlane = 1.0f;
    camera.farPlane = 500.0f;
    camera.viewport = IntRect(0, 0, kWidth - 1, kHeight - 1);
    camera.SetFieldOfView(0.7f);
    camera.SetAspect(float(kWidth) / float(kHeight));
    camera.SetPosition(Vector3(0, 0, 45));
    camera.SetTarget(Vector3(0, 4, 0));
    camera.SetPosition(camera.EyeForTarget(camera.target));
    renderer_.Clear(Rgba(30, 30, 30), 1.0f, 3);
    renderer_.SetCamera(camera);
    renderer_.SetWorldMatrix(Matrix4());
    renderer_.RenderModel(root, false, true);
    const Image& frame = Frame("model_window_camera");

    // The tile faces up (flipped), which puts the texture's first row at y = +10: the
    // quarter centres show red at (-5, 5), green (5, 5), blue (-5, -5), yellow (5, -5).
    const struct {
        Vector3 world;
        Color colour;
    } spots[] = {{{-5, 5, 0}, Rgba(255, 0, 0)},   {{5, 5, 0}, Rgba(0, 255, 0)},    {{-5, -5, 0}, Rgba(0, 0, 255)},
                 {{5, -5, 0}, Rgba(255, 255, 0)}, {{0, 14, 5}, Rgba(255, 0, 255)}, {{0, -16, 0}, Rgba(30, 30, 30)}};
    for (const auto& spot : spots) {
        const Vector3 screen = camera.Project(spot.world);
        ASSERT_TRUE(screen.x >= 0 && screen.x < kWidth && screen.y >= 0 && screen.y < kHeight);
        EXPECT_TRUE(Near(frame.At(int(screen.x + 0.5f), int(screen.y + 0.5f)), spot.colour))
            << spot.world.x << "," << spot.world.y << "," << spot.world.z;
    }
}

}  // namespace
