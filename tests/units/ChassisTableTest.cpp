// The chassis rows and the player's chassis upgrades.
#include <gtest/gtest.h>

#include <numbers>

#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "units/ChassisTable.h"

#include "support/TestAssets.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
// Catalogue rows of the size classes' speed, pattern-count and armour items.
constexpr int kSmallSpeed = 112, kSmallPatterns = 113, kSmallArmour = 114;
constexpr int kMediumSpeed = 116, kMediumPatterns = 117, kMediumArmour = 118;
constexpr int kLargeSpeed = 120, kLargePatterns = 121, kLargeArmour = 122;

class ChassisTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { units_test::LoadChassisTableWithTextures(); }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }
    static const ChassisDefinition& Row(int i) { return *ChassisTable::Row(i); }
};

TEST_F(ChassisTableTest, RowsCarryTheNumbersOfTheirSizeClass) {
    for (int i = 0; i < kChassisCount; ++i) {
        SCOPED_TRACE(i);
        const ChassisDefinition& row = Row(i);
        EXPECT_EQ(row.sizeClass, i % 3);
        EXPECT_EQ(row.modelName, row.name);
        EXPECT_EQ(row.buttonImage, row.name + "Button.tga");
        EXPECT_EQ(row.shadowImage, row.name + "Shadow.tga");
    }
    const ChassisDefinition& small = Row(3);
    EXPECT_EQ(small.name, "StalkSmall");
    EXPECT_FLOAT_EQ(small.scale, 1.5f);
    EXPECT_EQ(small.basePatternCount, 4);
    EXPECT_EQ(small.weaponPlaces, 1);
    EXPECT_EQ(small.baseCost, 20);
    EXPECT_FLOAT_EQ(small.baseHealth, 10.0f);
    EXPECT_FLOAT_EQ(small.speed, 8.0f);
    EXPECT_FLOAT_EQ(small.turnRate, 2.0f * kPi);
    EXPECT_FLOAT_EQ(small.explosionRadius, 2.0f);
    EXPECT_FLOAT_EQ(small.explosionDamage, 2.5f);
    const ChassisDefinition& medium = Row(1);
    EXPECT_EQ(medium.name, "RobotMedium");
    EXPECT_FLOAT_EQ(medium.scale, 2.25f);
    EXPECT_EQ(medium.basePatternCount, 6);
    EXPECT_EQ(medium.weaponPlaces, 2);
    EXPECT_EQ(medium.baseCost, 40);
    EXPECT_FLOAT_EQ(medium.turnRate, 1.33f * kPi);
    EXPECT_FLOAT_EQ(medium.explosionRadius, 2.75f);
    const ChassisDefinition& large = Row(5);
    EXPECT_EQ(large.name, "StalkLarge");
    EXPECT_FLOAT_EQ(large.scale, 3.25f);
    EXPECT_EQ(large.basePatternCount, 8);
    EXPECT_EQ(large.baseCost, 70);
    EXPECT_FLOAT_EQ(large.baseHealth, 50.0f);
    EXPECT_FLOAT_EQ(large.speed, 2.0f);
    EXPECT_FLOAT_EQ(large.turnRate, kPi);
    EXPECT_FLOAT_EQ(large.explosionDamage, 10.0f);
}

TEST_F(ChassisTableTest, IndicesOutsideTheTableFindNoRow) {
    EXPECT_EQ(ChassisTable::Row(-1), nullptr);
    EXPECT_EQ(ChassisTable::Row(6), nullptr);
    EXPECT_EQ(ChassisTable::SizeClass(-1), -1);
    EXPECT_EQ(ChassisTable::SizeClass(4), 1);
    EXPECT_STREQ(ChassisMarkerName(-1, nullptr), "");
    EXPECT_STREQ(ChassisMarkerName(2, &GetLocalPlayer()), "LargeFriend");
    Player other;
    EXPECT_STREQ(ChassisMarkerName(3, &other), "SmallEnemy");
}

TEST_F(ChassisTableTest, NamesAreFoundIgnoringCaseAndUnknownNamesGiveRowZero) {
    EXPECT_EQ(FindChassisByName("RobotSmall"), 0);
    EXPECT_EQ(FindChassisByName("stalklarge"), 5);
    EXPECT_EQ(FindChassisByName("NoSuchChassis"), 0);
    EXPECT_EQ(FindChassisByName(""), 0);
}

TEST_F(ChassisTableTest, AnimationListsDifferByRow) {
    EXPECT_EQ(Row(0).walkAnimations.Count(), 5);
    EXPECT_STREQ(Row(0).walkAnimations[4], "WalkTwirl");
    for (int i = 1; i < kChassisCount; ++i) EXPECT_EQ(Row(i).walkAnimations.Count(), 4);
    EXPECT_EQ(Row(0).simpleVictoryAnimations.Count(), 4);
    for (int i = 1; i < kChassisCount; ++i) EXPECT_TRUE(Row(i).simpleVictoryAnimations.IsEmpty());
    EXPECT_TRUE(Row(2).flyAnimations.IsEmpty());
    EXPECT_TRUE(Row(5).flyAnimations.IsEmpty());
    EXPECT_EQ(Row(4).flyAnimations.Count(), 1);
    EXPECT_STREQ(Row(4).rotateAnimations[1], "DownTwist");
    EXPECT_STREQ(Row(2).idleAnimations[3], "360");
}

TEST_F(ChassisTableTest, FacePartsFollowTheFamily) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Row(i).leftEyes.Count(), 4);
        EXPECT_EQ(Row(i).rightEyes.Count(), 4);
        EXPECT_EQ(Row(i).mouths.Count(), 4);
        EXPECT_EQ(Row(i).middleBrow.parts[0].model, nullptr);
        EXPECT_NE(Row(i).leftBrow.parts[2].model, nullptr);
    }
    for (int i = 3; i < kChassisCount; ++i) {
        EXPECT_TRUE(Row(i).leftEyes.IsEmpty());
        EXPECT_EQ(Row(i).mouths.Count(), 1);
        for (int mood = 0; mood < 3; ++mood) EXPECT_NE(Row(i).leftBrow.parts[mood].model, nullptr);
    }
    for (int mood = 0; mood < 3; ++mood) {
        EXPECT_EQ(Row(3).rightBrow.parts[mood].model, nullptr);
        EXPECT_EQ(Row(3).middleBrow.parts[mood].model, nullptr);
        EXPECT_NE(Row(4).rightBrow.parts[mood].model, nullptr);
        EXPECT_EQ(Row(4).middleBrow.parts[mood].model, nullptr);
        EXPECT_NE(Row(5).middleBrow.parts[mood].model, nullptr);
    }
    // Scale 0.5 on every axis for the frown; the tongue mouths sit 0.1 forward.
    EXPECT_FLOAT_EQ(Row(0).mouths[0].parts[2].transform[0], 0.5f);
    EXPECT_FLOAT_EQ(Row(0).mouths[2].parts[1].transform.GetTranslation().x, 0.1f);
}

TEST_F(ChassisTableTest, PaintedPartsBelongToTheFamilyRows) {
    EXPECT_EQ(Row(0).paintedPartNames.Count(), 12);
    EXPECT_EQ(Row(0).paintedPartNames[1], "Ball0");
    EXPECT_EQ(Row(3).paintedPartNames.Count(), 6);
    EXPECT_EQ(Row(0).paintedPartImages.Count(), 12);
    EXPECT_EQ(Row(3).goalButton, "EnemyGoalObjectButton.tga");
    for (int i : {1, 2, 4, 5}) {
        EXPECT_TRUE(Row(i).paintedPartNames.IsEmpty());
        EXPECT_TRUE(Row(i).paintedPartImages.IsEmpty());
    }
    for (int i = 0; i < kChassisCount; ++i) {
        EXPECT_EQ(Row(i).paintedPartMeshes.Count(), i < 3 ? 12 : 6);
    }
}

TEST(ChassisUpgrades, ArmourSpeedAndPatternsFollowTheSizeClassTables) {
    units_test::LoadChassisTableWithTextures();
    Player player;
    // Level -1 (not available) adds nothing.
    EXPECT_FLOAT_EQ(player.GetChassisMaxHealth(0), 10.0f);
    EXPECT_EQ(player.GetMaxPatternCount(2), 8);
    player.upgradeLevels[kLargeArmour] = 5;
    player.upgradeLevels[kSmallArmour] = 5;
    player.upgradeLevels[kMediumArmour] = 1;
    EXPECT_FLOAT_EQ(player.GetChassisMaxHealth(2), 75.0f);  // 50 x 1.5
    EXPECT_FLOAT_EQ(player.GetChassisMaxHealth(3), 20.0f);  // 10 x 2
    EXPECT_FLOAT_EQ(player.GetChassisMaxHealth(4), 24.0f);  // 20 x 1.2
    player.upgradeLevels[kSmallSpeed] = 2;
    player.upgradeLevels[kMediumSpeed] = 3;
    player.upgradeLevels[kLargeSpeed] = 1;
    EXPECT_FLOAT_EQ(player.GetChassisSpeed(0), 9.6f);  // 8 x 1.2
    EXPECT_FLOAT_EQ(player.GetChassisSpeed(1), 6.4f);  // 4 x 1.6
    EXPECT_FLOAT_EQ(player.GetChassisSpeed(5), 2.4f);  // 2 x 1.2
    player.upgradeLevels[kMediumPatterns] = 4;
    player.upgradeLevels[kLargePatterns] = 5;
    player.upgradeLevels[kSmallPatterns] = 7;
    EXPECT_EQ(player.GetMaxPatternCount(4), 12);  // 6 + 6
    EXPECT_EQ(player.GetMaxPatternCount(2), 16);  // 8 + 8
    // A level past the table (a damaged profile) adds the level number itself.
    EXPECT_EQ(player.GetMaxPatternCount(0), 11);
    EXPECT_FLOAT_EQ(player.GetChassisMaxHealth(-1), 0.0f);
    EXPECT_FLOAT_EQ(player.GetChassisSpeed(6), 0.0f);
    EXPECT_EQ(player.GetMaxPatternCount(-1), 0);
}

}  // namespace
