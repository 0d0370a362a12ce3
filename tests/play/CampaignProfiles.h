#pragma once
// Saved profiles the campaign's parts start from, so that its stars play side by side.
// Each one is the profile folder a part's play leaves behind: that part ends by checking
// the folder it made against the saved one (ReachesTheSavedProfile), and a later part
// loads it (StartFromTheSavedProfile) through the player list as a returning player does.
// The saved folders live beside these tests (profiles/<stage>/Tester, with the list of
// its folders in profiles/<stage>/Folders, as an empty folder is not kept); with
// VORNS_SAVE_PROFILES=1 in the environment the parts that reach them write them anew
// instead of checking (run those parts one after another, in campaign order).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "support/LogLines.h"
#include "support/PlayerHarness.h"

namespace play_test {

// The profile every part plays as.
inline const std::string kCampaignPlayer = "Tester";

inline std::filesystem::path SavedProfile(const std::string& stage) {
    return std::filesystem::path(VORNS_PLAY_PROFILES) / stage / kCampaignPlayer;
}

// A saved profile's folders, kept in a list beside it (an empty folder is not kept).
inline std::filesystem::path SavedFolderList(const std::string& stage) {
    return SavedProfile(stage).parent_path() / "Folders";
}

// The folder's files by their path inside it, each with its text, and its folders (ending
// in "/", with no text); the profile's lines of tries are left out, as how many goes a
// battle took is the landing's luck.
inline std::map<std::string, std::string> ProfileFiles(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    if (!fs::is_directory(folder)) return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).generic_string();
        if (entry.is_directory()) {
            files[name + "/"] = std::string();
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        for (std::string line; std::getline(in, line);) {
            if (line.find("MissionTries ") != std::string::npos) continue;
            text << line << '\n';
        }
        files[name] = text.str();
    }
    return files;
}

inline std::vector<std::string> SavedFolders(const std::string& stage) {
    std::vector<std::string> folders;
    std::ifstream in(SavedFolderList(stage));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) folders.push_back(line);
    }
    return folders;
}

// The profile the play made so far is the one saved as `stage`: what a later part starts from
// is a state this flow reaches.
inline void ReachesTheSavedProfile(PlayerHarness& player, const std::string& stage) {
    namespace fs = std::filesystem;
    const fs::path made = player.Folder() / "Players" / kCampaignPlayer;
    ASSERT_TRUE(fs::is_directory(made)) << "no profile was saved";
    const fs::path saved = SavedProfile(stage);
    std::map<std::string, std::string> madeFiles = ProfileFiles(made);
    const char* save = std::getenv("VORNS_SAVE_PROFILES");
    if (save != nullptr && std::string(save) == "1") {
        fs::remove_all(saved);
        fs::create_directories(saved);
        fs::copy(made, saved, fs::copy_options::recursive);
        std::ofstream folders(SavedFolderList(stage));
        for (const auto& entry : madeFiles) {
            if (entry.first.back() == '/') folders << entry.first.substr(0, entry.first.size() - 1) << '\n';
        }
        return;
    }
    std::map<std::string, std::string> savedFiles = ProfileFiles(saved);
    ASSERT_FALSE(savedFiles.empty()) << "no saved profile " << saved;
    for (const std::string& folder : SavedFolders(stage)) savedFiles[folder + "/"] = std::string();
    for (const auto& [name, text] : savedFiles) {
        const auto found = madeFiles.find(name);
        if (found == madeFiles.end()) {
            ADD_FAILURE() << stage << ": the play did not make " << name;
        } else {
            EXPECT_EQ(found->second, text) << stage << ": " << name << " differs from the saved one"
                                           << " (VORNS_SAVE_PROFILES=1 saves it anew where that is meant)";
        }
    }
    for (const auto& entry : madeFiles) {
        EXPECT_TRUE(savedFiles.count(entry.first) != 0) << stage << ": the play made " << entry.first
                                                        << ", which the saved profile lacks";
    }
}

// Drawn with GL on a scripted clock, on the title menu with no profile made.
inline HarnessSettings OnAScriptedClockWithoutAProfile() {
    HarnessSettings settings = OnAScriptedClock();
    settings.newPlayer.clear();
    return settings;
}

// From the title menu (OnAScriptedClockWithoutAProfile): the saved profile laid in the
// players' folder, picked from the player list, and the campaign's map from the game menu.
inline void StartFromTheSavedProfile(PlayerHarness& player, CampaignPlayer& campaign, const std::string& stage) {
    namespace fs = std::filesystem;
    const fs::path into = player.Folder() / "Players" / kCampaignPlayer;
    fs::create_directories(into);
    fs::copy(SavedProfile(stage), into, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (const std::string& folder : SavedFolders(stage)) fs::create_directories(into / folder);
    sys::ClearDirectoryCache();
    player.Open("MainMenu", "SelectPlayer", "PlayerMenu");
    player.Open("PlayerMenu", "LoadPlayer", "PlayerListBox");
    player.ClickEntry("PlayerListBox", kCampaignPlayer);
    player.WaitFor("GameMenu");
    sys::SRand(kCampaignSeed);
    player.ClickItem("GameMenu", "ContinueCampaign");
    campaign.WaitForTheMap("the map of the saved profile " + stage);
}

// A part of the campaign that starts on the map of a saved profile; it skips without GL.
class CampaignPart : public ::testing::Test {
protected:
    void SetUp() override {
        if (!player_.Unavailable().empty()) GTEST_SKIP() << player_.Unavailable();
    }
    // Nothing the part's battles made was given back to its pool twice.
    void TearDown() override {
        EXPECT_FALSE(log_.HasLineWith({"ignored the release"})) << log_.Text();
    }
    void StartFrom(const std::string& stage) { StartFromTheSavedProfile(player_, campaign_, stage); }

    platform_test::LogLines log_;
    PlayerHarness player_{OnAScriptedClockWithoutAProfile()};
    CampaignPlayer campaign_{player_};
};

}  // namespace play_test
