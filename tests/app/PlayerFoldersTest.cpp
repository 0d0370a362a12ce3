// The player folders and the players of a network game.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/PlayerFolders.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "world/SaveFilePaths.h"

namespace {

TEST(PlayerFoldersTest, PathsFollowThePlayerButNotTheComputer) {
    SetPlayerFolders("Ann");
    EXPECT_EQ(VornFilePath("Scout"), "Players\\Ann\\Vorns\\Scout.VRN");
    EXPECT_EQ(ScenarioFilePath("Hill"), "Players\\Ann\\Scenarios\\Hill.SCN");
    SetPlayerFolders("#ai");
    EXPECT_EQ(SquadFilePath("Team"), "Squads\\Team.SQD");
    SetDefaultFolders();
}

TEST(PlayerFoldersTest, CreatingAPlayerMakesItsFoldersOnceAndRefusesUnsafeNames) {
    platform_test::TempFolder folder;
    app_test::WorkingFolder working(folder.Path());
    String failure;
    ASSERT_TRUE(CreatePlayer("Ann", failure));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Players/Ann/Scenarios"));
    EXPECT_EQ(GetLocalPlayer().name, "Ann");
    EXPECT_EQ(VornFilePath("Scout"), "Players\\Ann\\Vorns\\Scout.VRN");

    EXPECT_FALSE(CreatePlayer("ANN", failure));
    EXPECT_EQ(failure, "PlayerAlreadyExists");
    EXPECT_FALSE(CreatePlayer("..", failure));
    EXPECT_EQ(failure, "InvalidPlayer");
    EXPECT_FALSE(CreatePlayer("a/b", failure));
    EXPECT_EQ(failure, "InvalidPlayer");
    EXPECT_FALSE(std::filesystem::exists(folder / "Players/a"));
    SetDefaultFolders();
}

}  // namespace
