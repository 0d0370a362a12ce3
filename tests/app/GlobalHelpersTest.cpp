// The shared angle, heading, placement and path helpers and the language table.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/EffectSounds.h"
#include "core/Angles.h"
#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "core/SpotPlacement.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "world/SaveFilePaths.h"

namespace {

TEST(GlobalHelpersTest, AngleDifferenceTakesTheShortWayRound) {
    EXPECT_NEAR(AngleDifference(0.1f, 6.2f), -0.1831853f, 1e-5f);
    EXPECT_NEAR(AngleDifference(0.0f, kPi), kPi, 1e-6f);
    EXPECT_NEAR(AngleDifference(3.0f, 1.0f), -2.0f, 1e-6f);
    EXPECT_NEAR(AngleDifference(-1.0f, 1.0f), 2.0f, 1e-5f);
    EXPECT_NEAR(AngleDifference(20.0f, 20.0f + 2.0f * kPi), 0.0f, 1e-4f);
}

TEST(GlobalHelpersTest, HeadingBetweenIsSignedAndZeroForNearPoints) {
    EXPECT_FLOAT_EQ(HeadingBetween(Vector2(1, 1), Vector2(1.005f, 1)), 0.0f);
    EXPECT_NEAR(HeadingBetween(Vector2(0, 0), Vector2(0, -3)), -kPi / 2.0f, 1e-5f);
    EXPECT_NEAR(HeadingBetween(Vector2(0, 0), Vector2(-3, 0)), kPi, 1e-5f);
    EXPECT_NEAR(HeadingBetween(Vector2(1, 1), Vector2(2, 2)), kPi / 4.0f, 1e-5f);
}

TEST(GlobalHelpersTest, SafeAcosClampsItsArgument) {
    EXPECT_DOUBLE_EQ(SafeAcos(1.5), 0.0);
    EXPECT_NEAR(SafeAcos(-7.0), 3.14159265358979, 1e-12);
}

TEST(GlobalHelpersTest, PathBuildersSpellTheDataNames) {
    EXPECT_EQ(TexturePath("Rock.tga"), "Textures\\Rock.tga");
    EXPECT_EQ(SoundPath("Click"), "Sounds\\Click.WAV");
    EXPECT_EQ(SoundPath("Click.wav"), "Sounds\\Click.wav");
    EXPECT_EQ(ActorPath("Charger"), "Actors\\Charger.act");
    EXPECT_EQ(ActorModelPath("Rocket"), "Actors\\Rocket_c_painted.obj");
    EXPECT_EQ(ActorPaintedTexturePath("Body"), "Actors\\Body_c_painted.tga");
    EXPECT_EQ(VornFilePath("Scout"), "Vorns\\Scout.VRN");
    EXPECT_EQ(ScenarioFilePath("Hills"), "Scenarios\\Hills.SCN");

    SetFilePrefixes("10_0_0_5_2300_", "10_0_0_5_2300_");
    SetDataFolders("NetworkVorns\\", "NetworkVorns\\", "Scenarios\\");
    EXPECT_EQ(VornFilePath("Scout"), "NetworkVorns\\10_0_0_5_2300_Scout.VRN");
    EXPECT_EQ(SquadFilePath("Pack"), "NetworkVorns\\10_0_0_5_2300_Pack.SQD");
    EXPECT_EQ(ScenarioFilePath("Hills"), "Scenarios\\Hills.SCN");  // no prefix
    SetFilePrefixes("", "");
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

TEST(GlobalHelpersTest, FindFreeSpotAroundKeepsAwayFromListedMarkers) {
    Vector3Array markers;
    float angle = 0.0f;
    const Vector3 centre(10.0f, 10.0f, 2.0f);
    const Vector2 first = FindFreeSpotAround(centre, angle, 2.0f, markers);
    ASSERT_EQ(markers.Count(), 1);
    // At angle 0 the marker sits below the centre, just outside its circle.
    EXPECT_NEAR(markers[0].x, 10.0f, 1e-5f);
    EXPECT_NEAR(markers[0].y, 7.5f, 1e-5f);
    EXPECT_NEAR(first.y, 5.0f, 1e-5f);

    float next = 0.0f;
    FindFreeSpotAround(centre, next, 2.0f, markers);
    ASSERT_EQ(markers.Count(), 2);
    EXPECT_GT(next, 0.0f);
    EXPECT_LT(CircleOverlapArea(markers[0], markers[1]), 0.2f * kPi * 0.25f);
}

TEST(GlobalHelpersTest, FindFreeSpotAroundTakesTheLeastCoveredSpotWhenAllAreTaken) {
    Vector3Array markers;
    markers.Append(Vector3(0.0f, 0.0f, 100.0f));  // covers every spot around the centre
    float angle = 0.0f;
    FindFreeSpotAround(Vector3(0.0f, 0.0f, 1.0f), angle, 1.0f, markers);
    EXPECT_EQ(markers.Count(), 2);
    EXPECT_FLOAT_EQ(angle, 0.0f);  // all equal: the first try is kept
}

TEST(GlobalHelpersTest, MissingTextKeyGivesTheHashError) {
    EXPECT_EQ(GetLanguageText("NoSuchKey"), "*HashError*");
    EXPECT_EQ(GetLanguageText("None"), "None");
    EXPECT_FALSE(GetLanguageText("NoAmmo").IsEmpty());
}

}  // namespace
