// The end of the campaign. Its flow (CampaignLastStars.h) starts where the earlier stars'
// flows end; here, what its lesson on network play needs from a program just started:
// every window a shipped lesson names is one the lesson can find (else the lesson drops
// the line and never waits for what its words ask), and the joining screen's address
// button lies clear of the text box the lesson talks in over it; and where the flow ends,
// the final entries stay off a new player's map.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CampaignLastStars.h"
#include "CampaignPlayer.h"
#include "core/String.h"
#include "support/PlayerHarness.h"
#include "ui/WindowManager.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The windows a lesson script names: its opening list, its highlights, the windows it
// closes and those whose events a stage waits for.
std::vector<std::string> WindowsNamedBy(const fs::path& script) {
    std::ifstream in(script);
    std::vector<std::string> named;
    enum { kTop, kWindows, kStage, kText, kEvents } state = kTop;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> words = Words(line);
        if (words.empty() || words[0].rfind("//", 0) == 0) continue;
        const std::string key = words[0];
        const bool end = key == "End";
        switch (state) {
            case kTop:
                if (key == "Windows") state = kWindows;
                if (key == "Stage") state = kStage;
                if (key == "CloseWindow" && words.size() > 1) named.push_back(words[1]);
                break;
            case kWindows:
                if (end)
                    state = kTop;
                else
                    named.push_back(key);
                break;
            case kStage:
                if (end) state = kTop;
                if (key == "TextBox") state = kText;
                if (key == "Events") state = kEvents;
                if (key == "Highlight" && words.size() > 1) named.push_back(words[1]);
                break;
            case kText:
                if (end) state = kStage;
                break;
            case kEvents:
                if (end) {
                    state = kStage;
                    break;
                }
                if (key == "Require" || key == "OrRequire") words.erase(words.begin());
                if (!words.empty() && words[0] != "MoveCamera" && words[0] != "MoveCameraNoFollow") {
                    named.push_back(words[0]);
                }
                break;
        }
    }
    return named;
}

TEST(CampaignLastStarsTest, EveryWindowAShippedLessonNamesIsKnownOnceTheProgramHasStarted) {
    play_test::PlayerHarness player(play_test::OnTheTitleMenu());
    int lessons = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(player.Folder() / "Tutorials" / "English")) {
        if (entry.path().extension() != ".TUT") continue;
        ++lessons;
        for (const std::string& window : WindowsNamedBy(entry.path())) {
            EXPECT_NE(GetWindowManager().FindWindowByName(String(window.c_str())), nullptr)
                << entry.path().filename() << " names " << window;
        }
    }
    EXPECT_GE(lessons, 8);
}

TEST(CampaignLastStarsTest, TheAddressButtonOfTheJoiningScreenLiesBelowTheLessonsTextBox) {
    play_test::PlayerHarness player;
    // Network play opens once the campaign map's tour is seen.
    play_test::CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.ClickRowButton("MissionMapWindow", "ExitButton");
    player.WaitFor("GameMenu");
    player.ClickItem("GameMenu", "JoinNetworkGame");
    player.WaitFor("ClientSetupWindow");
    // The lesson's longest page on this screen, four lines and the prompt, ends 160 pixels down.
    constexpr int32_t kLessonTextBoxBottom = 160;
    EXPECT_GE(player.ItemRect("ClientSetupWindow", "ServerIP").top, kLessonTextBoxBottom);
    player.ClickItem("ClientSetupWindow", "Back");
    player.WaitUntilClosed("ClientSetupWindow");
}

TEST(CampaignLastStarsTest, ANewProfilesMapKeepsTheFinalEntriesHiddenAndTheLastLessonDark) {
    play_test::PlayerHarness player;
    play_test::CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    for (const char* entry : {"Pitch", "FreePlay"}) {
        EXPECT_FALSE(campaign.Map().missions[play_test::CampaignEntry(entry)].shown) << entry;
    }
    const int lesson = play_test::CampaignEntry("NetworkTutorial");
    EXPECT_TRUE(campaign.Map().missions[lesson].shown);
    EXPECT_FALSE(campaign.Map().missions[lesson].enabled);
}

}  // namespace
