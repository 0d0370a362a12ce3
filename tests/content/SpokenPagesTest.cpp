// Every page the guide reads out (a mission's or lesson's page, a scene's line) has its clip
// in the data set, with the phoneme file that moves his mouth, and the clip says the whole
// page: a page that goes on after its clip stops would leave the guide silent. A lost
// mission has more than one hint, and a briefing's fly-by shows the way to go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kData = VORNS_DATA_SOURCE;
const fs::path kSpeech = fs::path(VORNS_GAME_DIR) / "Speech" / "English";

// Lower-case letters and digits, one space between words: the page's line breaks and the
// clip's punctuation do not count.
std::string Plain(const std::string& text) {
    std::string plain;
    for (const char c : text) {
        if (std::isalnum((unsigned char)c)) {
            plain += char(std::tolower((unsigned char)c));
        } else if (!plain.empty() && plain.back() != ' ') {
            plain += ' ';
        }
    }
    if (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

std::map<std::string, std::string> ClipWords() {
    std::map<std::string, std::string> clips;
    std::ifstream in(kData / "Speech" / "lines.txt");
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (!line.empty() && line[0] != '#' && tab != std::string::npos)
            clips[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return clips;
}

struct Page {
    std::string clip;  // empty: words before any clip
    std::string words;
};

// The pages of the text blocks of a mission, lesson or scene. A scene's timed "<S> time
// sound" cues are sounds, not speech.
std::vector<Page> Pages(const fs::path& file) {
    std::vector<Page> pages;
    std::ifstream in(file);
    bool inBlock = false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream split(line);
        std::string first, second, third;
        split >> first >> second >> third;
        if (!inBlock) {
            inBlock = first == "Text" || first == "WinningText" || first == "LosingText" || first == "TextBox";
            if (inBlock) pages.push_back({});
        } else if (first == "End") {
            inBlock = false;
        } else if (first == "<SS>" || first == "<SSNB>" || (first == "<S>" && third.empty())) {
            if (!pages.back().clip.empty() || !pages.back().words.empty()) pages.push_back({});
            pages.back().clip = second;
        } else if (first != "<S>" && first != "<P>" && first != "<BR>" && first.rfind("//", 0) != 0) {
            pages.back().words += line + " ";
        }
    }
    return pages;
}

TEST(SpokenPages, EveryPageHasItsWholeClipWithPhonemes) {
    const std::map<std::string, std::string> clips = ClipWords();
    int spoken = 0;
    for (const char* folder : {"Missions/English", "Tutorials/English", "Scenes/English"}) {
        for (const auto& entry : fs::directory_iterator(kData / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".MIS" && extension != ".TUT" && extension != ".SCE") continue;
            for (const Page& page : Pages(entry.path())) {
                const std::string words = Plain(page.words);
                if (page.clip.empty()) {
                    EXPECT_TRUE(words.empty()) << entry.path().filename() << ": unspoken page: " << words;
                    continue;
                }
                SCOPED_TRACE(entry.path().filename().string() + " " + page.clip);
                const auto clip = clips.find(page.clip);
                ASSERT_NE(clip, clips.end());
                // A scene's line may be spoken without a subtitle.
                if (!words.empty()) {
                    EXPECT_EQ(Plain(clip->second), words);
                }
                EXPECT_TRUE(fs::exists(kSpeech / (page.clip + ".OGG")));
                EXPECT_TRUE(fs::exists(kSpeech / (page.clip + ".phn")));
                ++spoken;
            }
        }
    }
    EXPECT_GT(spoken, 90);
}

// "Another hint" after a lost mission gives another hint: every mission with a goal has
// more than one losing text.
TEST(SpokenPages, EveryMissionWithAGoalHasAnotherHint) {
    for (const auto& entry : fs::directory_iterator(kData / "Missions/English")) {
        if (entry.path().extension() != ".MIS") continue;
        std::ifstream in(entry.path());
        bool goal = false;
        int hints = 0;
        for (std::string line; std::getline(in, line);) {
            std::istringstream split(line);
            std::string first, second;
            split >> first >> second;
            goal = goal || (first == "Goal" && second != "NoGoal");
            hints += first == "LosingText" ? 1 : 0;
        }
        if (goal) EXPECT_GE(hints, 2) << entry.path().filename();
    }
}

// "The crossing" is briefed over the way it asks for: its fly-by passes over the ford,
// between the two rocks at x 115, and over the beacon the mission file places, and circles
// the beacon before the loop starts over, so the small marker stays in the picture a while.
TEST(SpokenPages, TheCrossingsFlyByPassesOverTheFordAndTheBeacon) {
    std::ifstream scenario(kData / "Scenarios/Crossing.SCN");
    std::vector<std::pair<float, float>> spots;
    for (std::string line; std::getline(scenario, line);) {
        if (line.rfind("FlyByPoints", 0) != 0) continue;
        for (int n = std::stoi(line.substr(11)); n > 0 && std::getline(scenario, line); --n) {
            float x = 0.0f, y = 0.0f;
            if (std::sscanf(line.c_str(), " < %f , %f", &x, &y) == 2) spots.emplace_back(x, y);
        }
    }
    std::ifstream mission(kData / "Missions/English/Crossing.MIS");
    float beaconX = -1.0f, beaconY = -1.0f;
    for (std::string line; std::getline(mission, line);) {
        std::sscanf(line.c_str(), "Goal ReachBeacon Position %f %f", &beaconX, &beaconY);
    }
    const auto passes = [&spots](float x, float y) {
        return std::any_of(spots.begin(), spots.end(),
                           [&](const auto& spot) { return std::hypot(spot.first - x, spot.second - y) < 10.0f; });
    };
    EXPECT_TRUE(passes(115.0f, 120.0f)) << "the ford";
    EXPECT_TRUE(passes(beaconX, beaconY)) << "the beacon";
    const auto circling = std::count_if(spots.begin(), spots.end(), [&](const auto& spot) {
        return std::hypot(spot.first - beaconX, spot.second - beaconY) < 10.0f;
    });
    EXPECT_GE(circling, 4) << "points around the beacon";
}

}  // namespace
