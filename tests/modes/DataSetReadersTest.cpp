// The data set's campaign list, missions and lessons read by the game's readers without
// a single line left over.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "core/StringStream.h"
#include "data/DataFolder.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/CampaignList.h"
#include "modes/MissionFile.h"
#include "modes/TutorialScript.h"
#include "support/LogLines.h"
#include "ui/Window.h"

namespace {

std::filesystem::path Folder(const char* kind) { return data_test::DataRoot() / kind / "English"; }

TEST(DataSetReadersTest, CampaignAndEveryMissionReadWhole) {
    platform_test::LogLines log;
    CampaignList campaign;
    StringStream list(data_test::ReadWhole(Folder("Missions") / "MissionMap.txt").c_str());
    campaign.Read(list, "MissionMap.txt");
    ASSERT_GT(campaign.Count(), 0);
    // Lessons are briefed from a file of their own too, before their script starts.
    for (int32_t i = 0; i < campaign.Count(); ++i) {
        const std::string name = std::string(campaign.entryNames[i].CStr()) + ".MIS";
        ASSERT_TRUE(std::filesystem::exists(Folder("Missions") / name)) << name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(Folder("Missions"))) {
        if (entry.path().extension() != ".MIS") continue;
        Game game;
        Player local, computer;
        MissionSettings settings;
        StringStream text(data_test::ReadWhole(entry.path()).c_str());
        MissionFile(settings, game, local, computer).Read(text, entry.path().filename().c_str());
        EXPECT_FALSE(settings.briefingTexts.IsEmpty()) << entry.path();
        EXPECT_FALSE(settings.scenarioName.IsEmpty()) << entry.path();
    }
    EXPECT_EQ(log.Text(), "");
}

TEST(DataSetReadersTest, EveryLessonReadsWhole) {
    platform_test::LogLines log;
    std::map<std::string, std::unique_ptr<Window>> windows;
    const auto find = [&windows](const String& name) -> Window* {
        auto& window = windows[name.CStr()];
        if (!window) window = std::make_unique<Window>(name);
        return window.get();
    };
    int lessons = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Folder("Tutorials"))) {
        if (entry.path().extension() != ".TUT") continue;
        Game game;
        TutorialScript script(game, find);
        StringStream text(data_test::ReadWhole(entry.path()).c_str());
        script.Read(text, entry.path().filename().c_str());
        EXPECT_FALSE(script.steps.empty()) << entry.path();
        ++lessons;
    }
    EXPECT_GT(lessons, 0);
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
