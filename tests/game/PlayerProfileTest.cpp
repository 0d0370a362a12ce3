// The profile file: round trips, damaged and hostile profiles, upgrade purchases and
// lent levels, campaign progress.
#include <gtest/gtest.h>

#include <string>

#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"

namespace {

std::string Text(const Player& player) {
    StringStream stream;
    player.Write(stream);
    return stream.Text();
}

Player ReadText(const std::string& text) {
    Player player;
    StringStream stream(text.c_str());
    player.Read(stream);
    return player;
}

Player Named(const char* name) {
    Player player;
    player.Init();
    player.SetName(name);
    return player;
}

TEST(PlayerProfileTest, WriteReadWriteIsByteIdenticalAndEndsTheFile) {
    Player player = Named("Ada Lovelace");
    player.boosts = 7;
    player.primaryColor = Color::FromRGBA(1, 2, 3, 255);
    player.missionWins = {1, 0, 1};
    player.maxMission = 2;
    player.serverScenarioName = "Two Words";
    player.SetUpgradeLevel(100, 4);
    player.SetServerName("My Server");
    const std::string text = Text(player);
    const Player back = ReadText(text);
    EXPECT_EQ(Text(back), text);
    EXPECT_EQ(back.name, "Ada Lovelace");  // a name with a blank stays whole
    EXPECT_EQ(back.serverName, "My Server");
    EXPECT_EQ(back.GetUpgradeLevel(100), 4);
    EXPECT_EQ(back.primaryColor, Color::FromRGBA(1, 2, 3, 255));
    EXPECT_NE(text.find("Name Ada Lovelace\n"), std::string::npos);
    EXPECT_NE(text.find("MissionWins 3\n1 0 1\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "End\n");
}

TEST(PlayerProfileTest, KeysReadInOrderWithAliasesAndDefaults) {
    const Player player = ReadText(
        "ServerName Old\nName Bob\nHeadColor < 1, 2, 3, 255 >\nBodyColor < 4, 5, 6, 7 >\n"
        "Credits 99\nStray words 5\nMissionWins 0\nLaserWeapon 99\nlaserweapon 1\nEnd\nBoosts 50\n");
    EXPECT_EQ(player.serverName, "BobServer");  // a later Name resets it
    EXPECT_EQ(player.primaryColor, Color::FromRGBA(1, 2, 3, 255));
    EXPECT_EQ(player.trimColor, Color::FromRGBA(4, 5, 6, 7));
    EXPECT_TRUE(player.missionWins.empty());
    EXPECT_EQ(Text(player).find("MissionWins 0\n\n"), std::string::npos);
    EXPECT_EQ(player.GetUpgradeLevel(99), 5);  // clamped to the highest level; keys are case-sensitive
    EXPECT_EQ(player.boosts, 0);               // nothing after End is read
    EXPECT_EQ(player.serverLaunchDelay, 30);
}

TEST(PlayerProfileTest, DamagedProfileLoadsClampedAndSavesWhatItRead) {
    const Player player = ReadText(
        "Name Eve\nLaserWeapon -5\nShrapnelGunWeapon 3\nLastMissionTries -4\nMaxMission -2\n"
        "Boosts -9\nMissionWins -3\nReplayMission -7\nSmallVornSpeed 2\nMissionWins 5\n1 1\n");
    EXPECT_EQ(player.GetUpgradeLevel(99), -1);
    EXPECT_FALSE(player.CanBuyUpgrade(99, -4));
    EXPECT_EQ(player.lastMissionTries, 0);
    EXPECT_EQ(player.maxMission, 0);
    EXPECT_EQ(player.boosts, 0);
    EXPECT_EQ(player.replayMission, -1);
    EXPECT_EQ(player.missionWins.size(), 2u);  // stops at the end of the truncated list
    EXPECT_EQ(player.GetUpgradeLevel(112), 2);
    const Player again = ReadText(Text(player));
    EXPECT_EQ(Text(again), Text(player));
    EXPECT_EQ(again.GetUpgradeLevel(100), 3);
    const Player huge = ReadText("MissionWins 2000000000\n1 0\nName X\n");
    EXPECT_EQ(huge.missionWins.size(), 2u);
}

TEST(PlayerProfileTest, UpgradesBoughtLentAndRestored) {
    Player& local = GetLocalPlayer();
    const Player before = local;
    local.Init();
    local.SetName("Lender");
    local.boosts = 2;
    EXPECT_TRUE(local.CanBuyUpgrade(99, 1));
    EXPECT_FALSE(local.CanBuyUpgrade(99, 2));   // not the next level
    EXPECT_FALSE(local.CanBuyUpgrade(111, 1));  // a single-level item
    local.SetUpgradeLevel(99, 3);
    EXPECT_FALSE(local.CanBuyUpgrade(99, 4));  // costs 4 boosts
    local.SetUpgradeLevel(5, 7);
    EXPECT_EQ(local.GetUpgradeLevel(5), 0);
    local.SetUpgradeLevel(5, -5);
    EXPECT_EQ(local.GetUpgradeLevel(5), -1);

    const std::string own = Text(local);
    local.UseBasicUpgradeLevels();
    local.UseBasicUpgradeLevels();  // a second loan keeps the player's own levels
    EXPECT_EQ(local.GetUpgradeLevel(99), 0);
    EXPECT_EQ(Text(local), own);  // a save while lent stores the bought levels
    local.RestoreUpgradeLevels();
    EXPECT_EQ(local.GetUpgradeLevel(99), 3);

    Player teacher;
    teacher.MaxAllUpgradeLevels();
    local.UseUpgradeLevelsOf(teacher);
    EXPECT_EQ(local.GetUpgradeLevel(121), 5);
    local.RestoreUpgradeLevels();
    EXPECT_EQ(local.GetUpgradeLevel(121), -1);
    local.UnlockUpgrade("kickerweapon");
    EXPECT_EQ(local.GetUpgradeLevel(110), 0);
    local = before;
}

TEST(PlayerProfileTest, MissionWinsOpenTheNextMission) {
    Player player;
    player.Reset();
    player.RecordMissionWin(0);
    EXPECT_EQ(player.maxMission, 1);
    EXPECT_EQ(player.missionWins, (std::vector<uint8_t>{1, 0}));
    player.RecordMissionWin(3);  // played out of order: opens nothing new
    EXPECT_EQ(player.maxMission, 3);
    EXPECT_EQ(player.missionWins, (std::vector<uint8_t>{1, 0, 0, 1}));
    player.RecordMissionWin(-5);
    EXPECT_EQ(player.missionWins.size(), 4u);
    player.RecordMissionWin(-1);
    EXPECT_TRUE(player.missionMapTutorial);
}

TEST(PlayerProfileTest, SavedToTheFolderOfItsNameAndLoadedBack) {
    platform_test::TempFolder folder;
    app_test::WorkingFolder inside(folder.Path());
    Player player = Named("Kim");
    EXPECT_FALSE(player.Save());  // the player's folder does not exist yet
    std::filesystem::create_directories("Players/Kim");
    player.boosts = 3;
    ASSERT_TRUE(player.Save());
    EXPECT_EQ(platform_test::ReadRaw("Players/Kim/Kim.DATA"), Text(player) + "\n");
    Player loaded;
    loaded.name = "Kim";
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.boosts, 3);
    Player unnamed;
    unnamed.Init();
    EXPECT_FALSE(unnamed.Save());
    Player escaping = Named("../x");
    EXPECT_FALSE(escaping.Save());

    // A hand-edited stored name that is no safe name gives way to the folder's, so the
    // profile can be saved again.
    platform_test::WriteRaw("Players/Kim/Kim.DATA", "Name ../../../outside/evil\nBoosts 4\nEnd\n");
    Player edited;
    edited.name = "Kim";
    ASSERT_TRUE(edited.Load());
    EXPECT_EQ(edited.name, "Kim");
    EXPECT_EQ(edited.boosts, 4);
    EXPECT_TRUE(edited.Save());
}

TEST(UpgradeCatalogTest, RowsLevelsAndDescriptions) {
    EXPECT_EQ(GetUpgradeItem(0).key, "MiniMapWindow");
    EXPECT_EQ(GetUpgradeItem(46).key, "PatternFields");
    EXPECT_EQ(GetUpgradeItem(49).key, "Switch1Conditional");
    EXPECT_EQ(GetUpgradeItem(84).key, "TurnToFaceAction");
    EXPECT_EQ(GetUpgradeItem(110).key, "KickerWeapon");
    EXPECT_EQ(GetUpgradeItem(122).key, "LargeVornArmor");
    EXPECT_EQ(UpgradeMaxLevel(113), 4);
    EXPECT_EQ(UpgradeMaxLevel(121), 5);
    EXPECT_EQ(FindUpgradeItem("nothing"), -1);
    EXPECT_EQ(UpgradeTableValue('G', 4), 6);
    EXPECT_EQ(UpgradeTableValue('F', 7), 7);
    EXPECT_EQ(UpgradeTableValue('A', -1), 0);
    GetTextTable().Set("SecondDuration", "second");
    GetTextTable().Set("SecondsDuration", "seconds");
    GetTextTable().Set("Ammo", "ammo");
    GetTextTable().Set("Separator", ",");
    EXPECT_EQ(GetUpgradeDescription(107, 1), "+1 ammo, +1 second");
    EXPECT_EQ(GetUpgradeDescription(107, 2), "+2 ammo, +2 seconds");
    EXPECT_TRUE(GetUpgradeDescription(104, 3).IsEmpty());
    EXPECT_EQ(GetUpgradeDescription(50, 0), GetLanguageText("Basic"));
    EXPECT_EQ(GetUpgradeDescription(100, 5).Find("+20 "), 0);
}

}  // namespace
