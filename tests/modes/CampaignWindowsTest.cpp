// The campaign's windows: which planets the map lets the player reach, the next-mission
// button, the briefing's buttons and gifts, and the winning window's reward.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "ModesTestSupport.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/LosingWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "engine/TextObserver.h"
#include "engine/Sprite.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "game/PlayerRoster.h"
#include "modes/SquadWindow.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"

namespace {

using modes_test::ModesTest;

class CampaignWindowsTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        WriteText("Missions/English/MissionMap.txt",
                  "Star Sol\nPlanet Moon\nBasicsTutorial \"Lesson\"\nFirst One\nSecond Two\n"
                  "Star Vega\nThird Three\nFourth Four\nStar Rigel\nFifth Five\nSixth Six\n");
        WriteText("Missions/English/First.MIS", "Upgrades\nVorn Scout\nVorn Mite\nEnd\n");
        WriteText("Vorns/Scout.vrn", "shared scout");
        WriteText("Vorns/Mite.vrn", "shared mite");
        WriteText("Players/Ann/Vorns/Scout.vrn", "my scout");
        modes = &CreateGameModes(shell);
        ann.missionMapTutorial = true;
    }
    void Reach(int32_t maxMission) {
        ann.maxMission = maxMission;
        modes->map.Refresh();
    }
    std::vector<bool> Enabled() const {
        std::vector<bool> enabled;
        for (const auto& body : modes->map.missions) enabled.push_back(body.enabled);
        return enabled;
    }
    bool IsOpen(const Window& window) const { return GetWindowManager().IsOpen(&window); }

    Player& ann = GetLocalPlayer();
};

TEST_F(CampaignWindowsTest, TheMapOpensPlanetsAsTheProfileReachesThem) {
    MissionMapWindow& map = modes->map;
    ASSERT_EQ(map.missions.Count(), 7);
    Reach(0);
    // A star holding a lesson opens its planets one by one.
    EXPECT_EQ(Enabled(), std::vector<bool>({true, false, false, false, false, false, false}));
    EXPECT_TRUE(map.stars[0].body.enabled);
    EXPECT_FALSE(map.stars[1].body.enabled);
    EXPECT_FALSE(map.missions[5].shown);
    EXPECT_FALSE(map.stars[2].body.shown);
    // Lesson stars grow their planets along the orbit; the moon counts in the orbit.
    EXPECT_EQ(map.missions[0].size, 14);
    EXPECT_EQ(map.missions[2].size, 18);
    EXPECT_EQ(map.missions[3].size, MissionMapWindow::kPlainPlanetPixels);

    Reach(3);  // a star without a lesson opens whole
    EXPECT_EQ(Enabled(), std::vector<bool>({true, true, true, true, true, false, false}));
    Reach(5);
    EXPECT_TRUE(map.missions[6].shown);
    EXPECT_TRUE(map.stars[2].body.shown);
    // A corrupt profile's count past the list stays within it.
    Reach(1000);
    EXPECT_EQ(Enabled(), std::vector<bool>(7, true));
}

TEST_F(CampaignWindowsTest, NextMissionIsTheFirstNotWonAndNoneWhenAllAreWon) {
    MissionMapWindow& map = modes->map;
    ann.missionWins = {1, 0, 1};
    EXPECT_EQ(map.NextUnwonMission(), 1);
    ann.missionWins = {1, 1};
    EXPECT_EQ(map.NextUnwonMission(), -1);
    GetWindowManager().OpenWindow(&map);
    const Point button = map.ButtonRect(MissionMapWindow::kPlayNextMission).GetCenter();
    game.posted.clear();
    ClickAt(button);
    EXPECT_TRUE(game.posted.empty());
    ann.missionWins = {1, 0};
    ClickAt(button);
    ASSERT_FALSE(game.posted.empty());
    EXPECT_EQ(game.posted[0].type, kEventCampaignMapPrivate);
    EXPECT_EQ(game.posted[0].value, 1);
}

TEST_F(CampaignWindowsTest, BriefingButtonsFollowTheEntryAndGiftsKeepThePlayersFiles) {
    MissionGame& mission = modes->mission;
    MissionBriefingWindow& briefing = modes->briefing;
    mission.SetMission(0);
    mission.alreadyWon = false;
    briefing.Refresh();
    EXPECT_TRUE(briefing.IsButtonShown(MissionBriefingWindow::kSkipTutorial));
    EXPECT_FALSE(briefing.IsButtonShown(MissionBriefingWindow::kTraining));
    mission.alreadyWon = true;
    briefing.Refresh();
    EXPECT_FALSE(briefing.IsButtonShown(MissionBriefingWindow::kSkipTutorial));

    mission.SetMission(1);
    GetVornTray().nameFilter = kHideAllEntries;
    GetSquadTray().nameFilter = kHideAllEntries;
    ASSERT_TRUE(mission.StartBriefing());
    EXPECT_TRUE(IsOpen(briefing));
    EXPECT_TRUE(briefing.IsButtonShown(MissionBriefingWindow::kTraining));
    EXPECT_FALSE(briefing.IsButtonShown(MissionBriefingWindow::kSkipTutorial));
    std::ifstream scout("Players/Ann/Vorns/Scout.vrn"), mite("Players/Ann/Vorns/Mite.VRN");
    std::string kept, copied;
    std::getline(scout, kept);
    std::getline(mite, copied);
    EXPECT_EQ(kept, "my scout");
    EXPECT_EQ(copied, "shared mite");
    EXPECT_TRUE(GetVornTray().nameFilter.IsEmpty());  // a gift shows every saved file
    EXPECT_TRUE(GetSquadTray().nameFilter.IsEmpty());
}

TEST_F(CampaignWindowsTest, TheRewardIsPaidOnceWhicheverButtonAndNotForAReplay) {
    MissionGame& mission = modes->mission;
    WinningWindow& winning = modes->winning;
    mission.SetMission(1);
    mission.alreadyWon = false;
    mission.settings.rewardBoosts = 2;
    ann.boosts = 0;
    modes->campaignWindows.ShowResult(true, 2);
    EXPECT_TRUE(IsOpen(winning));
    EXPECT_FALSE(winning.rewardText.IsEmpty());
    EXPECT_EQ(winning.rewardPage.speech, "RewardedMultipleBoosts");
    EXPECT_TRUE(winning.IsButtonShown(WinningWindow::kCustomize));
    EXPECT_EQ(winning.BoostsShown(), 2);
    // The count is drawn over the celebration: a figure passing in front does not hide it.
    struct CountDepth : TextObserver {
        void TextDrawn(const DrawnText& run) override {
            if (std::string(run.text.CStr()).rfind("2 ", 0) == 0)
                depthTests.push_back(GetRenderer().GetDevice().GetRenderState(gfx::RenderState::ZEnable));
        }
        std::vector<uint32_t> depthTests;
    } count;
    TextObserver* kept = SetTextObserver(&count);
    ASSERT_TRUE(GetRenderer().GetReady());
    winning.DrawContents();
    GetRenderer().EndFrame();
    SetTextObserver(kept);
    EXPECT_EQ(count.depthTests, std::vector<uint32_t>{0u});

    winning.PostEvent(kEventEditPlayerInfo);
    game.DispatchEvents();
    winning.PostEvent(kEventContinueCampaign);
    game.DispatchEvents();
    EXPECT_EQ(ann.boosts, 2);
    ASSERT_GT(ann.missionWins.size(), 1u);
    EXPECT_EQ(ann.missionWins[1], 1);
    EXPECT_TRUE(IsOpen(modes->map));

    mission.alreadyWon = true;  // a replay
    ann.boosts = 0;
    modes->campaignWindows.ShowResult(true, 2);
    EXPECT_TRUE(winning.rewardText.IsEmpty());
    EXPECT_FALSE(winning.IsButtonShown(WinningWindow::kCustomize));
    winning.PostEvent(kEventContinueCampaign);
    game.DispatchEvents();
    EXPECT_EQ(ann.boosts, 0);
}

// The celebration of the campaign's last goal is the winning movie, which the game menu
// then offers: the profile keeps that it was seen. A later entry without a goal and a
// lesson do not count as goals.
TEST_F(CampaignWindowsTest, WinningTheLastGoalMarksTheWinningMovieSeen) {
    WriteText("Missions/English/Fourth.MIS", "Goal Survive 10\n");
    WriteText("Missions/English/Fifth.MIS", "Goal DestroyAllEnemies\n");
    WriteText("Missions/English/Sixth.MIS", "Goal NoGoal\n");
    MissionGame& mission = modes->mission;
    for (const int32_t entry : {4, 5}) {
        mission.SetMission(entry);
        ASSERT_TRUE(mission.StartBriefing());
        mission.alreadyWon = false;
        modes->campaignWindows.ShowResult(true, 0);
        ASSERT_TRUE(IsOpen(modes->winning));
        EXPECT_EQ(ann.seenWinningMovie, entry == 5) << entry;
    }
    std::ifstream profile("Players/Ann/Ann.DATA");
    const std::string saved((std::istreambuf_iterator<char>(profile)), std::istreambuf_iterator<char>());
    EXPECT_NE(saved.find("SeenWinningMovie 1"), std::string::npos);
}

TEST_F(CampaignWindowsTest, ALostMissionShowsItsHintsAndRetryBriefsItAgain) {
    WriteText("Missions/English/First.MIS",
              "LosingText\n<S> HintA\nTry again\nEnd\n"
              "LosingText\n<S> HintB\nFirst hint\n<S> HintC\nSecond hint\nEnd\n");
    MissionGame& mission = modes->mission;
    mission.SetMission(1);
    ASSERT_TRUE(mission.StartBriefing());
    mission.alreadyWon = false;
    ann.lastMissionTries = 1;
    modes->campaignWindows.ShowResult(false, 0);
    LosingWindow& losing = GetLosingWindow();
    EXPECT_TRUE(IsOpen(losing));
    EXPECT_TRUE(IsOpen(modes->textBox));
    EXPECT_FALSE(IsOpen(modes->briefing));
    ASSERT_EQ(losing.hints.Count(), 2);
    EXPECT_EQ(losing.hints[0]->speechName, "HintB");
    EXPECT_EQ(JoinWithSpaces(losing.hints[1]->words), "Second hint ");

    // The next hint moves the try counter on, round to the first alternative.
    losing.PostEvent(kEventWindowPrivate);
    game.DispatchEvents();
    EXPECT_EQ(ann.lastMissionTries, 0);
    ASSERT_EQ(losing.hints.Count(), 1);
    EXPECT_EQ(losing.hints[0]->speechName, "HintA");
    EXPECT_TRUE(IsOpen(modes->textBox));

    losing.PostEvent(kEventRetryMission);
    game.DispatchEvents();
    EXPECT_TRUE(IsOpen(modes->briefing));
    EXPECT_FALSE(IsOpen(losing));
}

TEST_F(CampaignWindowsTest, ALaunchLeavesTheSquadSelectionForTheBattleWindows) {
    std::filesystem::create_directories("Textures");
    for (const char* name : {"SaveSquadButton", "NoButton64", "LayoutCircleButton", "LayoutLineButton",
                             "LayoutRandomButton", "SquadCircle", "FriendPatternWedge", "Highlight"}) {
        ASSERT_TRUE(Image(1, 1).SaveTGA(std::string("Textures/") + name + ".tga"));  // the squad window needs them
    }
    MissionGame& mission = modes->mission;
    mission.SetMission(1);
    ASSERT_TRUE(mission.StartBriefing());
    Event* select = mission.NewEvent();
    select->type = kEventSelectSquads;
    mission.PostEvent(select);
    mission.DispatchEvents();
    ASSERT_TRUE(IsOpen(GetLaunchWindow()));
    // Three-digit numbers in the budget line stay clear of the Save and Clear buttons, in
    // letters as wide as the game's.
    for (int c = 0; c < Font::kGlyphCount; ++c) GetFont().widths[c] = Font::IsPrintable(uint8_t(c)) ? 20 : 0;
    GetTextTable().Set("inBudget", " budget");
    GetTextTable().Set("AltSeparator", "-");
    GetTextTable().Set("currentCost", " cost");
    SquadWindow& squads = GetSquadWindow();
    ASSERT_NE(squads.fileButtons, nullptr);
    squads.budget = 1000;
    squads.launchedCost = 333;
    squads.squad->totalCost = 333;
    EXPECT_LE(squads.BudgetRect().right, squads.fileButtons->sprites[1]->GetScreenRect().left);
    squads.squad->totalCost = 0;
    mission.SetPaused(true);
    TakeSounds();

    mission.Launch();
    const Window* battle[] = {&GetArenaWindow(), &GetWindowTray(), &GetControlTray(), &GetMiniMap()};
    for (const Window* window : battle) EXPECT_TRUE(IsOpen(*window)) << window->name.CStr();
    const Window* selection[] = {&GetLaunchWindow(), &GetLaunchSquadTray(), &GetSquadWindow()};
    for (const Window* window : selection) EXPECT_FALSE(IsOpen(*window)) << window->name.CStr();
    EXPECT_EQ(mission.playerPaused, 0);
    const std::vector<std::string> sounds = TakeSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "SOUNDS\\TRANSPORTBACKWARDS.OGG"), sounds.end());
}

}  // namespace
