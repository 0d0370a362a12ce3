// The title, player and game menus: which buttons show, what each posts and opens, and
// that none of them can be dismissed.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScreenTestSupport.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "screens/CreditsWindow.h"
#include "screens/GameMenu.h"
#include "screens/IntroScreen.h"
#include "screens/MainMenu.h"
#include "screens/OptionsWindow.h"
#include "screens/PlayerMenu.h"
#include "screens/SplashScreen.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManager.h"

namespace {

using screens_test::ScreenTest;

class MenusTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
    }
    void TearDown() override {
        ScreenTest::TearDown();
        working_.reset();
    }
    void OpenTitle() {
        GetWindowManager().OpenWindow(&GetMainMenu());
        game.posted.clear();
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(MenusTest, ContinueShowsOnlyForALastPlayerWhoseFolderExists) {
    MainMenu& title = GetMainMenu();
    OpenTitle();
    EXPECT_FALSE(title.IsItemShown(MainMenu::kContinueGameAs));
    shell.lastPlayer = "Ann";
    OpenTitle();
    EXPECT_FALSE(title.IsItemShown(MainMenu::kContinueGameAs));  // no folder
    std::filesystem::create_directories(folder_ / "Players/Ann");
    OpenTitle();
    EXPECT_TRUE(title.IsItemShown(MainMenu::kContinueGameAs));
    shell.lastPlayer = "..";
    OpenTitle();
    EXPECT_FALSE(title.IsItemShown(MainMenu::kContinueGameAs));
}

TEST_F(MenusTest, ContinuingAsAPlayerWhoseFolderWentOnlySoundsIllegal) {
    shell.lastPlayer = "Ann";
    std::filesystem::create_directories(folder_ / "Players/Ann");
    OpenTitle();
    std::filesystem::remove_all(folder_ / "Players/Ann");
    TakeSounds();
    Post(GetMainMenu(), kEventContinueGameAs);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"SOUNDS\\ILLEGAL.OGG"});
    EXPECT_TRUE(shell.loaded.empty());
    EXPECT_TRUE(IsOpen(GetMainMenu()));

    std::filesystem::create_directories(folder_ / "Players/Ann");
    Post(GetMainMenu(), kEventContinueGameAs);
    EXPECT_EQ(shell.loaded, std::vector<std::string>{"Ann"});
    EXPECT_TRUE(IsOpen(GetGameMenu()));
    Post(GetGameMenu(), kEventOpenMainMenu);
    EXPECT_TRUE(IsOpen(GetMainMenu()));
}

TEST_F(MenusTest, EachTitleButtonPostsItsCommandAndOpensItsScreenWithAWayBack) {
    MainMenu& title = GetMainMenu();
    const std::pair<int32_t, Window*> buttons[] = {
        {kEventOpenPlayerMenu, &GetPlayerMenu()},  {kEventOpenOptions, &GetOptionsWindow()},
        {kEventOpenCredits, &GetCreditsWindow()},  {kEventOpenSplashScreen, &GetSplashScreen()},
        {kEventShowIntroMovie, &GetIntroScreen()},
    };
    for (int32_t button = 0; button < 5; ++button) {
        OpenTitle();
        title.OnChoice(button);
        game.DispatchEvents();
        ASSERT_EQ(game.Types(), std::vector<int32_t>{buttons[button].first}) << button;
        EXPECT_TRUE(IsOpen(*buttons[button].second)) << button;
        EXPECT_FALSE(IsOpen(title));
        GetWindowManager().ReturnToPreviousWindow();
        EXPECT_TRUE(IsOpen(title)) << button;
    }
}

TEST_F(MenusTest, EscapeAndAbortLeaveTheMenusOpen) {
    for (Window* menu : {static_cast<Window*>(&GetMainMenu()), static_cast<Window*>(&GetPlayerMenu()),
                         static_cast<Window*>(&GetGameMenu())}) {
        GetWindowManager().CloseAllWindows();
        GetWindowManager().OpenWindow(menu);
        TapKey(win::kKeyEscape);
        Post(*menu, kEventAbortMenu);
        EXPECT_TRUE(IsOpen(*menu)) << menu->name.CStr();
    }
}

TEST_F(MenusTest, TheScreenSizeWarningShowsOnTheFirstFrameOnly) {
    MainMenu& title = GetMainMenu();
    title.screenSizeWarning = true;
    OpenTitle();
    Frame();
    EXPECT_TRUE(IsOpen(GetErrorBox()));
    GetWindowManager().CloseWindow(&GetErrorBox());
    GetWindowManager().CloseWindow(&title);
    OpenTitle();
    Frame();
    EXPECT_FALSE(IsOpen(GetErrorBox()));
}

TEST_F(MenusTest, GameMenuButtonsFollowTheProfileAndStartTheirModes) {
    GameMenu& menu = GetGameMenu();
    GetWindowManager().OpenWindow(&menu);
    for (int32_t button = 0; button < 7; ++button) {
        EXPECT_EQ(menu.IsItemShown(button), button == GameMenu::kContinueCampaign || button == GameMenu::kBack);
    }
    shell.flags = ProfileFlags{true, true, 4};
    GetWindowManager().OpenWindow(&menu);
    for (int32_t button = 0; button < 7; ++button) EXPECT_TRUE(menu.IsItemShown(button));

    const std::pair<int32_t, FrontEndTarget> modes[] = {
        {GameMenu::kContinueCampaign, FrontEndTarget::kMission},
        {GameMenu::kTraining, FrontEndTarget::kTraining},
        {GameMenu::kStartNetworkGame, FrontEndTarget::kNetworkServer},
        {GameMenu::kJoinNetworkGame, FrontEndTarget::kNetworkClient},
        {GameMenu::kCustomize, FrontEndTarget::kUpgradeWindow},
        {GameMenu::kShowWinningMovie, FrontEndTarget::kWinningScreen},
    };
    const int32_t events[] = {kEventContinueCampaign, kEventOpenTraining,   kEventStartNetworkGame,
                              kEventJoinNetworkGame,  kEventEditPlayerInfo, kEventShowWinningMovie};
    for (int32_t i = 0; i < 6; ++i) {
        GetWindowManager().OpenWindow(&menu);
        game.posted.clear();
        menu.OnChoice(modes[i].first);
        game.DispatchEvents();
        EXPECT_EQ(game.Types(), std::vector<int32_t>{events[i]});
        ASSERT_EQ(shell.started.back(), modes[i].second);
        EXPECT_FALSE(IsOpen(menu));  // every window closes for the mode
        EXPECT_EQ(GetWindowManager().ReturnStack().Count(), 1);
        GetWindowManager().ReturnToPreviousWindow();
    }
    EXPECT_EQ(shell.startedMission, 0);
    Post(menu, kEventContinueCampaign);
    EXPECT_EQ(shell.startedMission, 4);  // the profile's furthest mission
}

}  // namespace
