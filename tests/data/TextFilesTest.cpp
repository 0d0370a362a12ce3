// Every text file of the data set: plain ASCII with LF line ends and a final newline (a
// last token without white space after it leaves a file stream in error), and a language
// file that holds every key the program looks up.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "core/Array.h"
#include "core/String.h"
#include "platform/sys/Paths.h"

namespace {

using data_test::DataRoot;

// What the text lines of a file may hold: the font draws codes 32 to 126; tabs indent.
std::string FirstFault(const std::string& text) {
    if (text.empty()) {
        return "empty";
    }
    if (text.back() != '\n') {
        return "no newline at the end";
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            return "CR at byte " + std::to_string(i);
        }
        if (c != '\n' && c != '\t' && (c < 32 || c > 126)) {
            return "byte " + std::to_string(c) + " at " + std::to_string(i);
        }
    }
    return {};
}

TEST(DataTextFiles, AreAsciiWithLfEndsAndAFinalNewline) {
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataRoot())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string fault = FirstFault(data_test::ReadWhole(entry.path()));
        EXPECT_TRUE(fault.empty()) << entry.path() << ": " << fault;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

// The language file as the program reads it: lines of exactly two parts, quotes holding
// blanks together, then "\n" and "\'" replaced.
std::map<std::string, std::string> ReadLanguageFile(const std::filesystem::path& path,
                                                    std::vector<std::string>& twice) {
    std::map<std::string, std::string> table;
    for (const std::string& line : data_test::Lines(data_test::ReadWhole(path))) {
        StringArray parts;
        String::Split(line.c_str(), parts, ' ', '"');
        if (parts.Count() != 2) {
            continue;
        }
        std::string text = parts[1].CStr();
        for (size_t at; (at = text.find("\\n")) != std::string::npos;) {
            text.replace(at, 2, "\n");
        }
        for (size_t at; (at = text.find("\\'")) != std::string::npos;) {
            text.replace(at, 2, "\"");
        }
        if (!table.emplace(parts[0].CStr(), text).second) {
            twice.push_back(parts[0].CStr());
        }
    }
    return table;
}

TEST(DataLanguage, EveryKeyTheCodeLooksUpHasAText) {
    std::vector<std::string> twice;
    const auto table = ReadLanguageFile(DataRoot() / "English.txt", twice);
    EXPECT_TRUE(twice.empty()) << "given twice, the later text wins: " << twice.front();
    const auto required = data_test::NameList("RequiredTextKeys.txt");
    ASSERT_GT(required.size(), 500u);
    for (const std::string& key : required) {
        const auto found = table.find(key);
        EXPECT_TRUE(found != table.end()) << key << " shows *HashError*";
        if (found != table.end()) {
            EXPECT_FALSE(found->second.empty()) << key;
        }
    }
    // The host's question before ending the battle for everyone: the session goes on to
    // the results, so it names the battle, not the network game.
    EXPECT_NE(table.at("AbortGame?").find("battle"), std::string::npos) << table.at("AbortGame?");
}

// These texts become file names or are compared with them.
TEST(DataLanguage, NameTextsAreSingleSafeWords) {
    std::vector<std::string> twice;
    const auto table = ReadLanguageFile(DataRoot() / "English.txt", twice);
    for (const char* key : {"NoAmmo", "NoName", "NoPlayerName", "CopyName"}) {
        const std::string& text = table.at(key);
        EXPECT_TRUE(sys::IsSafeName(text)) << key;
        EXPECT_EQ(text.find_first_of(" \t\n"), std::string::npos) << key;
    }
}

TEST(DataLanguage, LanguageFileNamesEnglish) {
    const auto words = data_test::Words(data_test::ReadWhole(DataRoot() / "Language.txt"));
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.back(), "English");
}

// Heading and names alternate; an odd line would pair a name with the next heading.
TEST(DataCredits, HoldPairsOfLinesBeforeEnd) {
    const auto lines = data_test::Lines(data_test::ReadWhole(DataRoot() / "CreditsEnglish.txt"));
    size_t count = 0;
    while (count < lines.size() && !data_test::EqualsNoCase(lines[count], "End")) {
        EXPECT_FALSE(lines[count].empty()) << "line " << count + 1;
        ++count;
    }
    EXPECT_GT(count, 0u);
    EXPECT_EQ(count % 2, 0u);
}

// Options are key/value pairs read word by word: an unknown or valueless key would swallow
// the next key as its value.
TEST(DataOptions, HoldKnownKeysEachWithOneValue) {
    const std::set<std::string> known = {"LODError",    "MultiSample",  "ScreenSize",     "SoundVolume",
                                         "MusicVolume", "SpeechVolume", "SeenIntroMovie", "LastPlayerName",
                                         "ProxyServer", "LobbyHost"};
    for (const std::string& line : data_test::Lines(data_test::ReadWhole(DataRoot() / "Options.txt"))) {
        const auto words = data_test::Words(line);
        ASSERT_EQ(words.size(), 2u) << line;
        EXPECT_EQ(known.count(words[0]), 1u) << line;
    }
}

TEST(DataPlayLists, NameSongsWithoutBlanks) {
    for (const char* list : {"WarSongs", "SneakSongs", "MenuSongs"}) {
        const auto words = data_test::Words(data_test::ReadWhole(DataRoot() / "Music" / (std::string(list) + ".txt")));
        EXPECT_FALSE(words.empty()) << list;
        for (const std::string& song : words) {
            EXPECT_TRUE(sys::IsSafeName(song)) << list << ": " << song;
        }
    }
}

}  // namespace
