// The customise screen drawn on the GL backend headless, checked at pixels worked out
// from its layout; the frame is kept as tests/screenshots/upgrade_screen.tga under the
// build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "core/Image.h"
#include "core/MathUtil.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TestFont.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/UpgradeWindow.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/Slider.h"
#include "ui/WindowManager.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

bool Near(Color pixel, Color expected) {
    constexpr int kTolerance = 24;
    return std::abs(pixel.Red() - expected.Red()) <= kTolerance &&
           std::abs(pixel.Green() - expected.Green()) <= kTolerance &&
           std::abs(pixel.Blue() - expected.Blue()) <= kTolerance;
}

void WriteTexture(const std::filesystem::path& folder, const char* name, Color colour) {
    Image image(16, 16);
    image.Fill(colour);
    image.SaveTGA((folder / "Textures" / name).string());
}

TEST(UpgradeScreenshotTest, SwatchesInThePlayersColoursAndTheButtonRows) {
    const std::filesystem::path buildFolder = std::filesystem::current_path();
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    for (const char* name : {"PaintBlob.tga", "PaintBlob2.tga", "Handle.tga", "SliderBody.tga", "CloseButton.tga",
                             "UpgradeSpeedSmallButton.tga", "RedoButton.tga", "OptionsButton.tga"}) {
        WriteTexture(folder.Path(), name, Color(0xFFFFFFFF));
    }
    WriteTexture(folder.Path(), "YesButton.tga", Color(0xFF00FF00));
    WriteTexture(folder.Path(), "NoButton.tga", Color(0xFFFF00FF));
    const std::string font = engine_test::WriteTestFont(folder.Path(), "Font");
    app_test::WorkingFolder working(folder.Path());
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    std::unique_ptr<win::SystemWindow> window;
    const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window, renderer);
    if (!failure.empty()) GTEST_SKIP() << failure;
    renderer.LoadFont(GetFont(), String(font.c_str()), 1);
    GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);

    Player& player = GetLocalPlayer();
    const Player saved = player;
    player.primaryColor = Color::FromRGBA(220, 30, 30, 255);
    player.trimColor = Color::FromRGBA(30, 30, 220, 255);
    {
        UpgradeWindow upgrades;
        GetWindowManager().OpenWindow(&upgrades);
        EXPECT_EQ(upgrades.sliders[UpgradeWindow::kPrimaryRed]->value, 220.0f);
        ASSERT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        GetWindowManager().RenderAll();
        renderer.EndFrame();
        Image frame;
        ASSERT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        {
            app_test::WorkingFolder back(buildFolder.string());
            std::cout << "picture: " << engine_test::KeepPicture(frame, "upgrade_screen") << "\n";
        }
        // Each swatch is centred on its colour's green slider; above the red slider it
        // shows alone.
        const Point primary = upgrades.sliders[UpgradeWindow::kPrimaryGreen]->GetCenter();
        const Point trim = upgrades.sliders[UpgradeWindow::kTrimGreen]->GetCenter();
        EXPECT_LT(primary.x, upgrades.figureRect.left);
        EXPECT_GT(trim.x, upgrades.figureRect.right);
        EXPECT_TRUE(Near(frame.At(primary.x, primary.y - 40), player.primaryColor));
        EXPECT_TRUE(Near(frame.At(trim.x, trim.y - 40), player.trimColor));
        // Accept and Cancel at one half and three quarters across the bottom row.
        const int32_t row = kHeight - 1 - 71;
        EXPECT_TRUE(Near(frame.At(kWidth / 2, row), Color(0xFF00FF00)));
        EXPECT_TRUE(Near(frame.At(3 * kWidth / 4, row), Color(0xFFFF00FF)));

        // The upgrade lesson's player: the small chassis and four weapons, boosts for more.
        // All round the circling badges' way, under the pointer or not, no badge drawn
        // covers another, and a weapon still locked leaves its place empty.
        player.SetAllUpgradeLevels(-1);
        for (const int32_t item : {99, 100, 101, 102, 111, 112, 113, 114}) player.SetUpgradeLevel(item, 0);
        player.boosts = 9;
        upgrades.Refresh();
        for (int32_t i = 0; i < UpgradeWindow::kUpgradeButtonCount; ++i) {
            EXPECT_FALSE(upgrades.placeholders->IsShown(i)) << "a blank disc in the place of button " << i;
        }
        const auto apart = [](const IntRect& a, const IntRect& b) {
            return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
        };
        constexpr int kSteps = 72;
        for (int32_t hovered = -1; hovered < UpgradeWindow::kUpgradeButtonCount; ++hovered) {
            if (hovered >= 0 && !upgrades.upgrades->IsShown(hovered)) continue;
            for (int step = 0; step < kSteps; ++step) {
                upgrades.badgePhase = kTwoPi * float(step) / float(kSteps);
                upgrades.upgrades->hovered = hovered;
                ASSERT_TRUE(renderer.GetReady());
                renderer.Clear(Color(0xFF000000), 1.0f, 3);
                GetWindowManager().RenderAll();
                renderer.EndFrame();
                const Array<IntRect>& drawn = upgrades.drawnBadges;
                EXPECT_GE(drawn.Count(), 8) << "a level badge for each button shown";
                for (int32_t i = 0; i < drawn.Count(); ++i) {
                    for (int32_t j = i + 1; j < drawn.Count(); ++j) {
                        ASSERT_TRUE(apart(drawn[i], drawn[j]))
                            << "badges " << i << " and " << j << " cross with button " << hovered
                            << " under the pointer at step " << step;
                    }
                }
            }
        }
        GetWindowManager().DestroyAllWindows();
    }
    player = saved;
    renderer.Shutdown();
}

}  // namespace
