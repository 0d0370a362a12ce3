// The options file and the language file.
#include <gtest/gtest.h>

#include "app/LanguageFile.h"
#include "app/Options.h"
#include "core/TextTable.h"
#include "platform/sys/FileSystem.h"
#include "support/TempFolder.h"

namespace {

using platform_test::ReadRaw;
using platform_test::TempFolder;
using platform_test::WriteRaw;

TEST(OptionsTest, DefaultsStayWithoutAFileAndKeysAreReadInAnyCase) {
    TempFolder folder;
    Options options;
    options.Read((folder / "Options.txt").c_str());
    EXPECT_EQ(options.soundVolume, 90);
    EXPECT_EQ(options.speechVolume, 100);
    EXPECT_EQ(options.musicVolume, 55);

    // An unknown word is skipped by itself, and so is its value; a later line overrides an
    // earlier one.
    WriteRaw(folder / "Options.txt",
             "soundvolume 40\r\nBogus 7 SoundVolume 20\nSeenIntroMovie 3\nJunk ProxyServer proxy:8080\n"
             "MusicVolume 10\nMusicVolume 30\nLastPlayerName Ann Lee\n");
    options.Read((folder / "Options.txt").c_str());
    EXPECT_EQ(options.soundVolume, 20);
    EXPECT_EQ(options.musicVolume, 30);
    EXPECT_TRUE(options.seenIntroMovie);
    EXPECT_EQ(options.lastPlayerName, "Ann");  // one word: the rest is no key
    EXPECT_EQ(options.proxyServer, "proxy:8080");

    // A key without its number at the end of the file keeps the value.
    WriteRaw(folder / "Options.txt", "MusicVolume 12\nSoundVolume");
    options.Read((folder / "Options.txt").c_str());
    EXPECT_EQ(options.musicVolume, 12);
    EXPECT_EQ(options.soundVolume, 20);
}

TEST(OptionsTest, ValuesOutOfRangeAreBroughtIntoRange) {
    TempFolder folder;
    WriteRaw(folder / "Options.txt",
             "SoundVolume -20\nSpeechVolume 400\nMusicVolume -1\nMultiSample 250\nScreenSize 15\n"
             "LODError -3\n");
    Options options;
    options.Read((folder / "Options.txt").c_str());
    EXPECT_EQ(options.soundVolume, 0);
    EXPECT_EQ(options.speechVolume, 100);
    EXPECT_EQ(options.musicVolume, 0);
    EXPECT_EQ(options.multiSample, 100);
    EXPECT_EQ(options.screenSize, 14);
    EXPECT_EQ(options.lodError, 0);
    EXPECT_FLOAT_EQ(VolumeFactor(0), 0.0f);
    EXPECT_FLOAT_EQ(VolumeFactor(100), 1.0f);
    EXPECT_NEAR(VolumeFactor(50), 0.8409f, 1e-4f);
}

TEST(OptionsTest, WritingKeepsTheOrderAndASaveThatFailsKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder / "Options.txt";
    Options options;
    options.soundVolume = 12;
    options.lastPlayerName = "Ann";
    ASSERT_TRUE(options.Write(path.c_str()));
    EXPECT_EQ(ReadRaw(path),
              "LODError 0\nMultiSample 0\nScreenSize 0\nSoundVolume 12\nMusicVolume 55\n"
              "SpeechVolume 100\nSeenIntroMovie 0\nLastPlayerName Ann\n");
    Options reread;
    reread.Read(path.c_str());
    EXPECT_EQ(reread.soundVolume, 12);

    // A file that cannot be replaced: the save reports it and the old file stays.
    ASSERT_TRUE(sys::SetReadOnly(path, true));
    options.soundVolume = 77;
    EXPECT_FALSE(options.Write(path.c_str()));
    EXPECT_NE(ReadRaw(path).find("SoundVolume 12"), std::string::npos);
}

TEST(LanguageFileTest, TheLastWordNamesTheLanguage) {
    TempFolder folder;
    EXPECT_EQ(ReadLanguageName((folder / "Language.txt").c_str(), "English"), "English");
    WriteRaw(folder / "Language.txt", "English\r\nFrench \n");
    EXPECT_EQ(ReadLanguageName((folder / "Language.txt").c_str(), "English"), "French");
}

TEST(LanguageFileTest, EntriesAreLinesOfTwoPartsWithTheirEscapes) {
    TempFolder folder;
    WriteRaw(folder / "English.txt",
             "Title \"Vorns at war\"\r\n"
             "// Comment line\n"
             "Three parts here\n"
             "Alone\n"
             "Lines A\\nB\n"
             "Quote It\\'s\n"
             "Empty \"\"\n"
             "Twice first\nTwice second\n");
    TextTable table;
    ASSERT_TRUE(LoadLanguageTexts(String((folder / "English.txt").c_str()), table));
    EXPECT_EQ(table.Get("Title"), "Vorns at war");
    EXPECT_EQ(table.Get("//"), "*HashError*");
    EXPECT_EQ(table.Get("Three"), "*HashError*");
    EXPECT_EQ(table.Get("Alone"), "*HashError*");
    EXPECT_EQ(table.Get("Lines"), "A\nB");
    EXPECT_EQ(table.Get("Quote"), "It\"s");
    EXPECT_EQ(table.Get("Empty"), "");
    EXPECT_EQ(table.Get("Twice"), "second");
    EXPECT_EQ(table.Get("twice"), "*HashError*");  // keys keep their case
    EXPECT_FALSE(LoadLanguageTexts(String((folder / "Missing.txt").c_str()), table));
}

}  // namespace
