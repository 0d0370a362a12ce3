// The summary of a unit file: good files, hand-written ones, and damaged or hostile ones.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/LogLines.h"
#include "support/TempFolder.h"
#include "units/VornSummary.h"
#include "units/WeaponTable.h"
#include "world/SaveFilePaths.h"

namespace {

class VornSummaryTest : public ::testing::Test {
protected:
    void SetUp() override { SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\"); }
    void TearDown() override { SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\"); }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder / (name + ".VRN"), std::ios::binary) << text;
    }

    platform_test::TempFolder folder;
    VornSummary summary;
};

TEST_F(VornSummaryTest, ReadsChassisCostAndWeaponsOfAWrittenFile) {
    Write("Scout",
          "Type Vorn\nID 3\nName Scout\nPosition < 1, 2, 3 >\nVelocity < 0, 0, 0 >\nAngle 0.5\nPlayer Alice\n"
          "ChassisType StalkMedium\nCost 125\nEdited 0\nCostEdited 0\nWeapons 2\n"
          "\tType VornLauncher\n\t\tLocation 0\n\t\tAmmoName Tiny\n\t\tAmmoSize 0\n\tEnd\n"
          "\tType MissileLauncher\n\t\tLocation 1\n\tEnd\nPatterns 0\nEnd\n");
    ASSERT_TRUE(summary.Load("Scout"));
    EXPECT_EQ(summary.fileName, "Scout");
    EXPECT_EQ(summary.chassis, 4);
    EXPECT_EQ(summary.cost, 125);
    EXPECT_EQ(summary.weaponKinds[0], kWeaponVornLauncher);
    EXPECT_EQ(summary.weaponKinds[1], kWeaponMissileLauncher);
    EXPECT_EQ(summary.weaponLocations[1], 1);
    EXPECT_EQ(summary.weaponAmmo[0], "Tiny");
    EXPECT_TRUE(summary.weaponAmmo[1].IsEmpty());
    EXPECT_EQ(summary.id, -1);
}

TEST_F(VornSummaryTest, HandWrittenFileWithCommentsAndLineEndsOfEitherKind) {
    // A comment is read whole at any length: the key words inside it are not keys.
    const std::string comment = "Comment " + std::string(3000, 'x') + " ChassisType RobotLarge Cost 999\r\n";
    Write("Hand", "vip\r\ncrazy\r\n" + comment + "chassistype robotmedium\r\nSomeKey\r\nCOST 60\r\n" +
                      "weapons 2\r\n\ttype kicker\r\n\tend\r\n\ttype laser\r\n\tend\r\n");
    ASSERT_TRUE(summary.Load("Hand"));
    EXPECT_EQ(summary.chassis, 1);
    EXPECT_EQ(summary.cost, 60);
    EXPECT_EQ(summary.weaponKinds[0], kWeaponKicker);
    EXPECT_EQ(summary.weaponKinds[1], kWeaponLaser);
}

TEST_F(VornSummaryTest, DamagedFilesKeepWhatWasReadOrAreRefused) {
    Write("Unknown", "ChassisType Tank\nCost -40\nEnd\n");
    ASSERT_TRUE(summary.Load("Unknown"));
    EXPECT_EQ(summary.chassis, 0);  // an unknown chassis name is the first row
    EXPECT_EQ(summary.cost, 0);     // no negative prices
    // A cost that does not read, or weapons cut short, would price the unit wrongly:
    // the file is refused, with a line naming it.
    for (const char* text : {"ChassisType RobotLarge\nCost lots\nWeapons 2\n\tType Kicker\n\tEnd\n",
                             "ChassisType RobotLarge\nCost 50\nWeapons 2\n\tType Kicker\n\tEnd\n\tType Las"}) {
        Write("Broken", text);
        platform_test::LogLines log;
        EXPECT_FALSE(summary.Load("Broken")) << text;
        EXPECT_TRUE(log.HasLineWith({"Broken", "damaged"})) << log.Text();
    }
    Write("NoChassis", "Type Vorn\nCost 10\nEnd\nChassisType RobotLarge\n");
    EXPECT_FALSE(summary.Load("NoChassis"));
    // The pattern section ends what a summary reads.
    Write("Late", "Patterns 1\n\tObjects 0\nChassisType StalkLarge\n");
    EXPECT_FALSE(summary.Load("Late"));
    Write("Empty", "");
    EXPECT_FALSE(summary.Load("Empty"));
}

TEST_F(VornSummaryTest, UnsafeOrMissingNamesReadNothing) {
    Write("Scout", "ChassisType RobotSmall\nCost 5\nEnd\n");
    for (const char* name : {"../Scout", "..\\Scout", "sub/Scout", ".Scout", "", "Sco ut", "Missing"}) {
        EXPECT_FALSE(summary.Load(name)) << name;
        EXPECT_EQ(summary.chassis, -1) << name;
    }
    ASSERT_TRUE(summary.Load("scout"));  // names resolve without regard to case
    EXPECT_EQ(summary.cost, 5);
}

}  // namespace
