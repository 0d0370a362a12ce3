// The options screen's size pick, accept and cancel, and live volumes; the credits
// file and the credits' fitting; the intro's way out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ScreenTestSupport.h"
#include "core/TextTable.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "screens/CreditsWindow.h"
#include "screens/IntroScreen.h"
#include "screens/MainMenu.h"
#include "screens/OptionsWindow.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManager.h"

namespace {

namespace fs = std::filesystem;
using screens_test::ScreenTest;

class OptionsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        Open();
    }
    void TearDown() override {
        ScreenTest::TearDown();
        working_.reset();
    }
    void Open() {
        WindowManager& manager = GetWindowManager();
        manager.CloseAllWindows();
        manager.PushReturnWindow(&GetMainMenu());
        manager.OpenWindow(&GetOptionsWindow());
    }
    String ErrorKeyShown() {
        return IsOpen(GetErrorBox()) && !GetErrorBox().message.IsEmpty() ? GetErrorBox().message[0] : String();
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(OptionsTest, EveryOpeningStartsFromTheStoredSizeAndACancelledPickIsForgotten) {
    OptionsWindow& options = GetOptionsWindow();
    shell.options[int32_t(OptionKey::kScreenSize)] = 3;
    Open();
    EXPECT_EQ(options.selectedSize, 3);
    Post(options, kEventSetScreenSize, 5);
    EXPECT_EQ(options.selectedSize, 5);
    Post(options, kEventCancel);
    EXPECT_EQ(shell.applied, 1);
    EXPECT_EQ(shell.writes, 0);
    EXPECT_TRUE(IsOpen(GetMainMenu()));
    Open();
    EXPECT_EQ(options.selectedSize, 3);
    Post(options, kEventExit);  // nothing changed: no warning
    EXPECT_EQ(ErrorKeyShown(), "");
    EXPECT_TRUE(IsOpen(GetMainMenu()));

    shell.options[int32_t(OptionKey::kScreenSize)] = 99;  // clamped into the table
    Open();
    EXPECT_EQ(options.selectedSize, kScreenSizeCount - 1);
}

TEST_F(OptionsTest, ASizeOutsideTheTableIsRefused) {
    OptionsWindow& options = GetOptionsWindow();
    TakeSounds();
    Post(options, kEventSetScreenSize, 15);
    Post(options, kEventSetScreenSize, -1);
    EXPECT_EQ(options.selectedSize, 0);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"SOUNDS\\ILLEGAL.OGG", "SOUNDS\\ILLEGAL.OGG"}));
}

TEST_F(OptionsTest, AcceptStoresEveryValueAndWarnsOfWhatWaitsForARestart) {
    GetTextTable().Set("ScreenSizeWarning", "size");
    GetTextTable().Set("MultisampleWarning", "multi");
    GetTextTable().Set("MultisampleScreenSizeWarning", "both");
    GetTextTable().Set("SaveFailed", "failed");
    OptionsWindow& options = GetOptionsWindow();
    options.sliders[OptionsWindow::kSoundSlider]->SetValue(42.7f);
    Post(options, kEventSetScreenSize, 2);
    Post(options, kEventExit);
    EXPECT_EQ(ErrorKeyShown(), "size");
    EXPECT_EQ(shell.options[int32_t(OptionKey::kSoundVolume)], 42);
    EXPECT_EQ(shell.options[int32_t(OptionKey::kScreenSize)], 2);
    EXPECT_EQ(shell.writes, 1);

    Open();
    options.sliders[OptionsWindow::kMultisampleSlider]->SetValue(50.0f);
    Post(options, kEventExit);
    EXPECT_EQ(ErrorKeyShown(), "multi");
    Open();
    options.sliders[OptionsWindow::kMultisampleSlider]->SetValue(10.0f);
    Post(options, kEventSetScreenSize, 0);
    Post(options, kEventExit);
    EXPECT_EQ(ErrorKeyShown(), "both");

    Open();
    shell.writeFails = true;
    Post(options, kEventExit);
    EXPECT_EQ(ErrorKeyShown(), "failed");
    Post(GetErrorBox(), kEventContinueErrorBox);
    EXPECT_TRUE(IsOpen(GetMainMenu()));
}

TEST_F(OptionsTest, AMovedVolumeTakesEffectAndSoundsOncePerChange) {
    OptionsWindow& options = GetOptionsWindow();
    TakeSounds();
    options.sliders[OptionsWindow::kSoundSlider]->SetValue(20.0f);
    options.LiveUpdate(0.1f);
    options.LiveUpdate(0.1f);
    EXPECT_EQ(shell.live[int32_t(OptionKey::kSoundVolume)], 20);
    // Without music files the music slider sounds the laser test too.
    options.sliders[OptionsWindow::kMusicSlider]->SetValue(10.0f);
    options.LiveUpdate(0.1f);
    EXPECT_EQ(shell.live[int32_t(OptionKey::kMusicVolume)], 10);
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"SOUNDS\\LASERTEST.OGG", "SOUNDS\\LASERTEST.OGG"}));
    EXPECT_EQ(options.musicFadeTime, 0.0f);
}

class CreditsTest : public ScreenTest {
protected:
    void Read(const char* text) {
        std::ofstream(folder_ / "Credits.txt") << text;
        GetCreditsWindow().ReadCredits((folder_ / "Credits.txt").c_str());
    }
    platform_test::TempFolder folder_;
};

TEST_F(CreditsTest, PairsAreReadUpToEndOrTheEndOfTheFile) {
    CreditsWindow& credits = GetCreditsWindow();
    Read("Design\nAnn Bee\nMusic\r\nCy Dee\nend\nIgnored\nToo\n");
    ASSERT_EQ(credits.headings.Count(), 2);
    EXPECT_EQ(credits.headings[1], "Music");
    EXPECT_EQ(credits.lines[1], "Cy Dee");
    Read("Design\nAnn Bee\nThanks");  // a heading on the last line
    ASSERT_EQ(credits.lines.Count(), 2);
    EXPECT_EQ(credits.lines[1], "");
    credits.ReadCredits("NoSuchCredits.txt");
    EXPECT_EQ(credits.headings.Count(), 0);
    credits.creditIndex = 0;
    credits.creditTimer = 0.0f;
    credits.Advance(6.0f);  // nothing to show: the index stays at the start
    EXPECT_EQ(credits.creditIndex, 0);
}

TEST_F(CreditsTest, TheShowMovesOnEveryFiveSecondsAndWraps) {
    CreditsWindow& credits = GetCreditsWindow();
    Read("A\na\nB\nb\n");
    credits.creditIndex = 0;
    credits.creditTimer = 0.0f;
    credits.Advance(5.0f);
    EXPECT_EQ(credits.creditIndex, 0);  // only past five seconds
    credits.Advance(0.1f);
    EXPECT_EQ(credits.creditIndex, 1);
    credits.Advance(5.1f);
    EXPECT_EQ(credits.creditIndex, 0);
}

TEST_F(CreditsTest, ALongLineShrinksInOnePercentStepsAndOneThatNeverFitsStops) {
    // 8-pixel glyphs: 10 characters are 180 pixels at 2.25, and fit 100 pixels at
    // 2.25 / 1.01^k once 80 x 2.25 / 1.01^k <= 100, first at k = 60.
    const float scale = CreditsWindow::FitScale("abcdefghij", 100.0f);
    EXPECT_LE(80.0f * scale, 100.0f);
    EXPECT_GT(80.0f * scale * 1.01f, 100.0f);
    const float smallest = CreditsWindow::FitScale(String(std::string(5000, 'w').c_str()), 1.0f);
    EXPECT_GT(smallest, 0.0f);
}

TEST_F(ScreenTest, AnyReleaseDuringTheIntroGoesBackOnce) {
    WindowManager& manager = GetWindowManager();
    manager.PushReturnWindow(&GetMainMenu());
    manager.PushReturnWindow(&GetMainMenu());
    manager.OpenWindow(&GetIntroScreen());
    manager.BringToFront(&GetIntroScreen());
    EXPECT_EQ(shell.musicStops, 1);
    TapKey('Q');
    EXPECT_TRUE(IsOpen(GetMainMenu()));
    EXPECT_FALSE(IsOpen(GetIntroScreen()));
    EXPECT_EQ(manager.ReturnStack().Count(), 1);
    EXPECT_EQ(shell.musicStarts, 1);
}

}  // namespace
