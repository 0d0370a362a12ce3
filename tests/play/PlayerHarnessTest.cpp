// The harness itself: a new player reaches the game menu through the real screens, and
// a step naming what is not on screen fails with that name.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;
using play_test::PlayerStepFailed;

TEST(PlayerHarnessTest, ANewPlayerReachesTheGameMenuDrawnOnScreen) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    EXPECT_EQ(player.Mode(), "MenuGame");
    EXPECT_EQ(player.FrontWindow(), "GameMenu");
    EXPECT_TRUE(std::filesystem::is_directory(player.Folder() / "Players" / "Tester"));
    EXPECT_TRUE(player.ShowsAScreen("the game menu"));
    player.KeepPicture("harness_game_menu");
}

TEST(PlayerHarnessTest, AStepNamingWhatIsNotOnScreenFailsWithTheName) {
    PlayerHarness player(play_test::OnTheTitleMenu());
    EXPECT_TRUE(player.IsOpen("MainMenu"));
    try {
        player.ClickItem("GameMenu", "TrainingLaboratory");
        FAIL() << "clicked a window that is not open";
    } catch (const PlayerStepFailed& failure) {
        EXPECT_NE(std::string(failure.what()).find("\"GameMenu\""), std::string::npos) << failure.what();
    }
    try {
        player.ClickItem("MainMenu", "NoSuchButton");
        FAIL() << "clicked a button that is not shown";
    } catch (const PlayerStepFailed& failure) {
        EXPECT_NE(std::string(failure.what()).find("\"NoSuchButton\""), std::string::npos) << failure.what();
    }
}

}  // namespace
