// Mission files and the campaign list written by hand: settings, text blocks, comments,
// and hostile lines that are refused with the file named in the log.
#include <gtest/gtest.h>

#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/CampaignList.h"
#include "modes/MissionFile.h"
#include "support/LogLines.h"
#include "units/WeaponTable.h"

namespace {

class MissionFileTest : public ::testing::Test {
protected:
    void Read(const char* text) {
        StringStream stream(text);
        MissionFile(settings, game, local, computer).Read(stream, "Test.MIS");
    }
    static std::string Lines(const TextPage& page) {
        std::string all;
        for (const String& line : page.lines) all += std::string(line.CStr()) + "|";
        return all;
    }

    Game game;
    Player local;
    Player computer;
    MissionSettings settings;
};

TEST_F(MissionFileTest, HandWrittenMissionSetsEverySetting) {
    local.Reset();
    local.SetUpgradeLevel(100, 3);
    Read(
        "// a comment\n"
        "#BeginComment Budget 7\nstill comment\nend here #endcomment\n"
        "#BeginComment one line #EndComment\n"
        "MaxSquadCount 3\nBudget 450\nRewardBoosts 2\nMeteors 12.5\nScenario Crater\n"
        "Goal DestroyAllEnemies SaveVorn Hero DestroyVorn Boss SaveTrees 90\n"
        "EnemyUpgrade All PlusOne\nEnemyUpgrade ShrapnelGunWeapon LocalPlayer\n"
        "Text\nHello there\nsoldier\n<BR>\n<P>\n<S> Clip1\nSecond page\nEND\n"
        "WinningText\nWell done\nEnd\n"
        "LosingText\nLost one\nEnd\nLosingText\nLost two\nEnd\n"
        "LegalWeapons\nLaser\nkicker\nEnd\n"
        "Upgrades\nLaserWeapon\nGift SmallVornSpeed\nEnd\n"
        "DrawFlyBy\nMusic Sneak\n");
    EXPECT_EQ(settings.maxSquadCount, 3);
    EXPECT_EQ(settings.budget, 450);
    EXPECT_EQ(settings.rewardBoosts, 2);
    EXPECT_TRUE(settings.meteorsEnabled);
    EXPECT_FLOAT_EQ(settings.meteorDelay, 12.5f);
    EXPECT_EQ(settings.scenarioName, "Crater");
    EXPECT_EQ(settings.goal, MissionGoal::kDestroyAllEnemies);
    EXPECT_EQ(settings.saveVornName, "Hero");
    EXPECT_EQ(settings.destroyVornName, "Boss");
    EXPECT_TRUE(settings.saveTrees);
    EXPECT_TRUE(settings.timeLimited);
    EXPECT_FLOAT_EQ(settings.goalTime, 90.0f);
    EXPECT_EQ(computer.GetUpgradeLevel(99), 1);
    EXPECT_EQ(computer.GetUpgradeLevel(100), 3);
    EXPECT_EQ(computer.GetUpgradeLevel(0), 0);  // single-level items stay at their highest
    ASSERT_EQ(settings.briefingTexts.Count(), 2);
    EXPECT_EQ(Lines(settings.briefingTexts[0]), "Hello there soldier|||");
    EXPECT_EQ(settings.briefingTexts[1].speech, "Clip1");
    EXPECT_EQ(Lines(settings.briefingTexts[1]), "Second page|");
    ASSERT_EQ(settings.losingTexts.Count(), 2);
    EXPECT_EQ(Lines(settings.losingTexts[1][0]), "Lost two|");
    EXPECT_EQ(Lines(settings.winningTexts[0]), "Well done|");
    EXPECT_TRUE(settings.weaponAllowed[kWeaponLaser]);
    EXPECT_TRUE(settings.weaponAllowed[kWeaponKicker]);
    EXPECT_FALSE(settings.weaponAllowed[kWeaponExplosive]);
    EXPECT_EQ(settings.upgrades.Count(), 1);
    EXPECT_EQ(settings.secondUpgrades[0], "SmallVornSpeed");
    EXPECT_TRUE(settings.drawFlyBy);
    EXPECT_EQ(settings.music, MissionMusic::kSneak);
}

TEST_F(MissionFileTest, GoalArgumentsByKindAndDefaultsOfANewMission) {
    settings.scenarioName = "Kept";
    Read("Goal ReachBeacon 30\nLegalWeapons\nEnd\n");
    EXPECT_EQ(settings.beaconPosition, Vector2(0.0f, 0.0f));
    EXPECT_TRUE(settings.timeLimited);
    for (bool allowed : settings.weaponAllowed) EXPECT_FALSE(allowed);
    Read("Goal racetobeacon Position 40 -20\nGoal SaveVIP 10 20\n");
    EXPECT_EQ(settings.beaconPosition, Vector2(40.0f, -20.0f));
    EXPECT_EQ(settings.goal, MissionGoal::kSaveVip);
    EXPECT_FLOAT_EQ(settings.goalTime, 20.0f);
    EXPECT_FALSE(settings.timeLimited);  // reset by the new file
    EXPECT_EQ(settings.scenarioName, "Kept");
    EXPECT_EQ(settings.budget, 100);
    EXPECT_TRUE(settings.weaponAllowed[kWeaponExplosive]);
    Read("Goal Survive SaveVorn Hero 45\n");
    EXPECT_EQ(settings.saveVornName, "Hero");
    EXPECT_FLOAT_EQ(settings.goalTime, 45.0f);
}

TEST_F(MissionFileTest, HostileLinesAreIgnoredAndLogged) {
    platform_test::LogLines log;
    settings.goal = MissionGoal::kSoccer;
    Read(
        "Goal Nonsense 5 SaveVorn X\nMaxSquadCount 99\nBudget -50\nScenario\nMeteors\n"
        "EnemyUpgrade NoSuchItem 3\nEnemyUpgrade All 99\nLegalWeapons\nLazer\nEnd\nGoal ReachBeacon Position 3\n"
        "Frobnicate 1\nText\nnever closed\n");
    EXPECT_EQ(settings.goal, MissionGoal::kReachBeacon);
    EXPECT_EQ(settings.maxSquadCount, 4);
    EXPECT_EQ(settings.budget, 0);
    EXPECT_FALSE(settings.meteorsEnabled);
    EXPECT_FALSE(settings.weaponAllowed[kWeaponLaser]);  // a typo allows nothing
    EXPECT_EQ(computer.GetUpgradeLevel(99), 5);
    EXPECT_EQ(settings.briefingTexts.Count(), 1);
    for (const char* what : {"Nonsense", "Scenario", "Meteors", "NoSuchItem", "Lazer", "Position", "Frobnicate"}) {
        EXPECT_TRUE(log.HasLineWith({"Test.MIS", what})) << what;
    }
}

TEST(CampaignListTest, StarsPlanetsMissionsAndTutorials) {
    platform_test::LogLines log;
    GetTextTable().Set("TutorialHeader", "Lesson: ");
    StringStream stream(
        "Early Orphan\nStar \"Red Giant\"\nPlanet Rocky\n// comment line\nFirst \"The First\"\n"
        "Three words here\nSquadsTUTORIAL Squads\nStar Blue\nLast End\nlonely\n");
    CampaignList list;
    list.Read(stream, "MissionMap.txt");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.titles[0], "The First");
    EXPECT_TRUE(list.IsTutorial(1));
    EXPECT_EQ(list.tutorialNames[1], "Squads");
    EXPECT_EQ(list.titles[1], "Lesson: Squads");
    EXPECT_EQ(list.entryStars[2], 1);
    EXPECT_EQ(list.stars[0].name, "Red Giant");
    EXPECT_EQ(list.stars[0].planets[0], "Rocky");
    EXPECT_TRUE(log.HasLineWith({"MissionMap.txt", "Early"}));
    StringStream empty("");
    list.Read(empty, "MissionMap.txt");
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
