// Text, a model seen through a window camera and sprite grids, drawn on the GL backend
// headless and checked pixel by pixel. Each frame is also kept under the build folder
// (tests/screenshots) for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "GlTestWindow.h"
#include "TestFont.h"
#include "core/Image.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "platform/TempFolder.h"
#include "platform/gfx/Device.h"
#include "platform/window/Window.h"

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

    std::unique_ptr<win::Window> window_;
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

}  // namespace
