// Paths of the files kept per language, and music paths.
#include <gtest/gtest.h>

#include "audio/Music.h"
#include "engine/AssetPaths.h"

namespace {

TEST(LanguagePathsTest, LanguageFilesLieInTheLanguagesFolder) {
    EXPECT_EQ(SpeechPath("Intro"), "Speech\\English\\Intro.OGG");
    SetLanguageName("French");
    EXPECT_EQ(MissionPath("First"), "Missions\\French\\First.MIS");
    EXPECT_EQ(TutorialPath("Basics"), "Tutorials\\French\\Basics.TUT");
    SetLanguageName("English");
    EXPECT_EQ(MusicPath("Theme"), "Music\\Theme.OGG");
    EXPECT_EQ(MusicPath("Theme.ogg"), "Music\\Theme.ogg");
}

}  // namespace
