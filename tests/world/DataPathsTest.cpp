// The paths of the game's data and of the player's saved files.
#include <gtest/gtest.h>

#include "audio/EffectSounds.h"
#include "engine/AssetPaths.h"
#include "world/SaveFilePaths.h"

namespace {

TEST(DataPathsTest, PathBuildersSpellTheDataNames) {
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

}  // namespace
