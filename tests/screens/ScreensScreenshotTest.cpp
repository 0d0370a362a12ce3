// The title menu and the options screen drawn on the GL backend headless and checked at
// pixels worked out from their layout. The frames are kept as
// tests/screenshots/title_menu.tga and options_screen.tga under the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TestFont.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "screens/MainMenu.h"
#include "screens/OptionsWindow.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/PopUpMenu.h"
#include "ui/WindowManager.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kMiddle = kWidth / 2;

bool Near(Color pixel, Color expected, int tolerance = 24) {
    return std::abs(pixel.Red() - expected.Red()) <= tolerance &&
           std::abs(pixel.Green() - expected.Green()) <= tolerance &&
           std::abs(pixel.Blue() - expected.Blue()) <= tolerance;
}

int WhitePixels(const Image& frame, const IntRect& area) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            const Color p = frame.At(x, y);
            count += p.Red() > 200 && p.Green() > 200 && p.Blue() > 200 ? 1 : 0;
        }
    }
    return count;
}

void WriteTexture(const std::string& folder, const char* name, Color colour) {
    Image image(16, 16);
    image.Fill(colour);
    image.SaveTGA(folder + "/Textures/" + name);
}

class ScreensScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildFolder_ = std::filesystem::current_path();
        std::filesystem::create_directories(folder_ / "Textures");
        for (const char* name :
             {"PopUpBackground.tga", "ScreenSize.tga", "Handle.tga", "SliderBody.tga", "CloseButton.tga"}) {
            WriteTexture(folder_.Path(), name, Color(0xFFFFFFFF));
        }
        WriteTexture(folder_.Path(), "PlayGameMenuButton.tga", Color(0xFF00FF00));
        WriteTexture(folder_.Path(), "ExitMenuButton.tga", Color(0xFFFF0000));
        WriteTexture(folder_.Path(), "YesButton.tga", Color(0xFF00FF00));
        WriteTexture(folder_.Path(), "NoButton.tga", Color(0xFFFF00FF));
        fontPath_ = engine_test::WriteTestFont(folder_.Path(), "Font");
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        renderer.LoadFont(GetFont(), String(fontPath_.c_str()), 1);
        GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
        GetTextTable().Set("Vorns!", "VORNS");
    }
    void TearDown() override {
        GetWindowManager().CloseAllWindows();
        GetRenderer().Shutdown();
        window_.reset();
        working_.reset();
    }
    Image Draw(const char* pictureName) {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        GetWindowManager().RenderAll();
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        app_test::WorkingFolder back(buildFolder_.string());
        std::cout << "picture: " << engine_test::KeepPicture(frame, pictureName) << "\n";
        return frame;
    }

    std::filesystem::path buildFolder_;
    platform_test::TempFolder folder_;
    std::string fontPath_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
};

TEST_F(ScreensScreenshotTest, TitleMenu) {
    MainMenu menu;  // its own sprites, made on this device
    GetWindowManager().OpenWindow(&menu);
    ASSERT_EQ(menu.centre, Point(kWidth / 2, 192));
    const Image frame = Draw("title_menu");
    // Five buttons on the ring of 80 (no last player): "play" straight above the centre,
    // "exit" the fourth, at 2 pi x 3 / 5 clockwise from the top.
    EXPECT_TRUE(Near(frame.At(kMiddle, 192 - 80), Color(0xFF00FF00)));
    EXPECT_TRUE(Near(frame.At(kMiddle - 47, 192 + 64), Color(0xFFFF0000)));
    // The round background, tinted, between the buttons.
    EXPECT_TRUE(Near(frame.At(kMiddle + 100, 192 + 30), PopUpMenu::kBackgroundTint));
    // The game's title as the first message line, centred at the top.
    EXPECT_GT(WhitePixels(frame, IntRect(kMiddle - 40, 0, kMiddle + 40, 30)), 0);
    EXPECT_EQ(WhitePixels(frame, IntRect(0, 0, 300, 30)), 0);
}

TEST_F(ScreensScreenshotTest, OptionsScreen) {
    OptionsWindow options;
    GetWindowManager().OpenWindow(&options);
    ASSERT_EQ(options.selectedSize, 0);
    const Image frame = Draw("options_screen");
    // The selected size button white, the others grey; the first row's second button is
    // centred at 3 x 128 / 2 = 192.
    const Point first = options.sizeButtons->sprites[0]->GetScreenCenter();
    const Point second = options.sizeButtons->sprites[1]->GetScreenCenter();
    EXPECT_EQ(second.x, 192);
    ASSERT_TRUE(IntRect(0, 0, kWidth - 1, kHeight - 1).Contains(second)) << second.y;
    EXPECT_TRUE(Near(frame.At(first.x, first.y), Color(0xFFFFFFFF)));
    EXPECT_TRUE(Near(frame.At(second.x, second.y), Color(0xFF808080)));
    // Accept and Cancel along the bottom.
    const Point accept = options.acceptCancel->sprites[OptionsWindow::kAccept]->GetScreenCenter();
    const Point cancel = options.acceptCancel->sprites[OptionsWindow::kCancel]->GetScreenCenter();
    EXPECT_TRUE(Near(frame.At(accept.x, accept.y), Color(0xFF00FF00)));
    EXPECT_TRUE(Near(frame.At(cancel.x, cancel.y), Color(0xFFFF00FF)));
    // A volume slider's handle in its colour.
    const OptionsSlider& sound = *options.sliders[OptionsWindow::kSoundSlider];
    const Point handle = sound.HandleCentre();
    ASSERT_TRUE(IntRect(0, 0, kWidth - 1, kHeight - 1).Contains(handle))
        << handle.x << " " << handle.y << " " << sound.top;
    EXPECT_TRUE(Near(frame.At(handle.x, handle.y), Color(0xFFFF80FF)));
}

}  // namespace
