// What the generator makes for the hand-written data: read from a small data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DataScan.h"
#include "support/TempFolder.h"

namespace {

void Write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

TEST(DataScan, FindsSongsClipsCuesPicturesAndSceneAnimations) {
    platform_test::TempFolder data;
    Write(data / "Music/WarSongs.txt", "War1 War2 ../Escape\n");  // a name leaving its folder is dropped
    Write(data / "Music/MenuSongs.txt", "Calm.ogg\n");
    Write(data / "Missions/English/MissionMap.txt",
          "// the map\nStar \"Sol Earth\"\nPlanet Mars\nFirstSteps \"First Steps\"\nMapTutorial Map\n");
    Write(data / "Missions/English/FirstSteps.MIS",
          "Goal 1\nText\n<S> FirstStepsIntro\nWelcome, commander.\nYour Vorns await.\n<P>\nEnd\n");
    Write(data / "Scenes/English/Intro.SCE",
          "Background Stage\nActor Bunny Hopper\nActor StalkLargeVorn Big\nStage\nText\n<SSNB> IntroHello\nHello!\n"
          "<S> 1.5 Boing\nEnd\nHopper\nAnimation Backflip Idle\nEnd\nBig\nAnimationLoop Wobble Victory\nEnd\nEnd\n");

    Write(data / "Speech/lines.txt", "# clip, tab, words\nIntroHello\tGood day to you!\n");
    Write(data / "English.txt", "ContinueText \"Press the space bar\\nto go on.\"\nYes Yes\n");

    const assetgen::DataNeeds needs = assetgen::ScanData(data.Path());

    ASSERT_EQ(needs.songs.size(), 3u);
    EXPECT_EQ(needs.songs[0].name, "War1");
    EXPECT_EQ(needs.songs[0].mood, assetgen::MusicMood::War);
    EXPECT_EQ(needs.songs[2].name, "Calm");  // the extension is the game's to add
    EXPECT_EQ(needs.songs[2].mood, assetgen::MusicMood::Menu);

    ASSERT_EQ(needs.clips.size(), 2u);
    EXPECT_EQ(needs.clips[1].name, "FirstStepsIntro");
    EXPECT_EQ(needs.clips[1].text, "Welcome, commander. Your Vorns await.");
    EXPECT_EQ(needs.clips[0].name, "IntroHello");
    EXPECT_EQ(needs.clips[0].text, "Good day to you!");  // the written words win over the scene's text

    EXPECT_EQ(needs.soundCues, std::vector<std::string>{"Boing.ogg"});
    EXPECT_EQ(needs.mapPictures,
              (std::vector<std::string>{"StarSolEarth", "Mars", "PlanetFirstSteps", "PlanetMapTutorial"}));

    EXPECT_EQ(needs.englishTexts.at("ContinueText"), "Press the space bar to go on.");
    EXPECT_EQ(needs.englishTexts.at("Yes"), "Yes");

    using Wanted = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(needs.sceneAnimations.at("Bunny"), (Wanted{{"Backflip", "Idle"}}));
    EXPECT_EQ(needs.sceneAnimations.at("StalkLarge"), (Wanted{{"Wobble", "Victory"}}));
}

TEST(DataScan, AMissingFolderNamesNothing) {
    const assetgen::DataNeeds needs = assetgen::ScanData("/nonexistent/data");
    EXPECT_TRUE(needs.songs.empty());
    EXPECT_TRUE(needs.clips.empty());
    EXPECT_TRUE(needs.mapPictures.empty());
}

}  // namespace
