// The campaign as a new player meets it: the map's tour, the first lesson followed step by
// step, and the first mission briefed, its squad dragged together and launched into a
// battle that is fought. Every step is a click, drag or key; pictures are checked on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "battlefield/LaunchWindow.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "modes/ButtonRowWindow.h"
#include "modes/MissionMapWindow.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Tray.h"
#include "ui/Window.h"

namespace {

using play_test::PlayerHarness;

// The finders the harness lacks for the campaign's own windows, found on screen the same
// way: by window and button name, failing by name.
class CampaignPlayer {
public:
    explicit CampaignPlayer(PlayerHarness& player) : player_(player) {}

    // A button of a campaign window's bottom row ("PlayButton", "PlayNextMissionButton").
    void ClickRowButton(const std::string& windowName, const std::string& button) {
        auto* window = dynamic_cast<ButtonRowWindow*>(&player_.OpenWindow(windowName));
        SpriteGrid* grid = window != nullptr ? window->buttons : nullptr;
        for (int i = 0; grid != nullptr && i < grid->Count(); ++i) {
            if (grid->IsShown(i) && button == grid->names[i].CStr()) {
                player_.Click(grid->sprites[i]->GetScreenCenter());
                return;
            }
        }
        FAIL() << "\"" << button << "\" is not shown in \"" << windowName << "\"";
    }

    // The launch window's button by its name ("Launch", "Exit").
    void ClickLaunchButton(const std::string& button) {
        auto* launch = dynamic_cast<LaunchWindow*>(&player_.OpenWindow("LaunchWindow"));
        ASSERT_NE(launch, nullptr);
        const int32_t index = launch->buttons.FindByName(String(button.c_str()));
        ASSERT_GE(index, 0) << button;
        player_.Click(launch->buttons.ScreenRect(index).GetCenter());
    }

    // A tray's entry by its name, in the cell it is drawn in.
    Point TrayEntryPoint(const std::string& windowName, const std::string& entryName) {
        auto* tray = dynamic_cast<Tray*>(&player_.OpenWindow(windowName));
        const int32_t entry = tray != nullptr ? tray->FindEntryByName(String(entryName.c_str())) : -1;
        const int32_t cells = tray != nullptr ? std::min(tray->cellRects.Count(), tray->columns * tray->rows) : 0;
        for (int32_t i = 0; entry >= 0 && i < cells; ++i) {
            const int32_t at = tray->scrollPosition + i;
            if (at < tray->shownMap.Count() && tray->shownMap[at] == entry) return tray->cellRects[i].GetCenter();
        }
        throw play_test::PlayerStepFailed("\"" + entryName + "\" is not shown in tray \"" + windowName + "\"");
    }
    // The first entry a tray shows.
    std::string FirstTrayEntry(const std::string& windowName) {
        auto* tray = dynamic_cast<Tray*>(&player_.OpenWindow(windowName));
        if (tray == nullptr || tray->shownMap.IsEmpty()) return std::string();
        return tray->EntryName(tray->shownMap[0]).CStr();
    }

    // Space until the text box no longer waits for it, at most `presses` times.
    void ContinueTextBox(int presses) {
        for (int i = 0; i < presses && player_.IsOpen("TextBox"); ++i) {
            player_.TapKey(win::kKeySpace);
            player_.Frames(20);
        }
    }

    // Looks at the frame as a player would and keeps it.
    void Picture(const std::string& name) {
        EXPECT_TRUE(player_.ShowsAScreen(name));
        player_.KeepPicture("campaign_" + name);
    }

private:
    PlayerHarness& player_;
};

TEST(CampaignFlowTest, TheTourTheFirstLessonAndTheFirstMissionLaunchedFromANewProfile) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);

    // A new profile opens the campaign on the map's tour.
    player.ClickItem("GameMenu", "ContinueCampaign");
    player.FramesUntil([&] { return player.Mode() == "TutorialGame" && player.IsOpen("MissionMapWindow"); }, 300,
                       "the campaign map's tour");
    player.Frames(30);
    campaign.Picture("map_tour");
    for (int page = 0; page < 10 && player.Mode() == "TutorialGame"; ++page) {
        player.TapKey(win::kKeySpace);
        player.Frames(20);
    }
    player.FramesUntil([&] { return player.Mode() == "MissionGame" && player.IsOpen("MissionMapWindow"); }, 300,
                       "the map after the tour");
    campaign.Picture("map");

    // The first entry is a lesson: briefed, then started with Play.
    campaign.ClickRowButton("MissionMapWindow", "PlayNextMissionButton");
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the lesson's briefing");
    campaign.Picture("lesson_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "PlayButton");
    player.FramesUntil([&] { return player.Mode() == "TutorialGame" && player.IsOpen("ArenaWindow"); }, 300,
                       "the first lesson");
    EXPECT_TRUE(player.IsOpen("MiniMap")) << "the lesson asks the player to drag on it";
    campaign.Picture("lesson");
    campaign.ContinueTextBox(1);

    // "Drag on the little map": the camera moves.
    const IntRect map = player.OpenWindow("MiniMap").Rect();
    player.Drag(Point(map.left + 30, map.top + 30), Point(map.left + 60, map.top + 50));
    player.Frames(10);
    // The lesson lets the battle run itself once the player has read on; it ends when the
    // Mite is gone.
    campaign.ContinueTextBox(1);
    campaign.Picture("lesson_running");
    for (int wait = 0; wait < 60 && player.Mode() == "TutorialGame"; ++wait) {
        campaign.ContinueTextBox(1);
        player.Frames(60);
    }
    ASSERT_EQ(player.Mode(), "MissionGame") << "the lesson ended";
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 300, "the map after the lesson");

    // The first mission: briefed with its fly-by, its squad dragged from the unit tray.
    campaign.ClickRowButton("MissionMapWindow", "PlayNextMissionButton");
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the mission's briefing");
    player.Frames(30);
    campaign.Picture("mission_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "PlayButton");
    player.FramesUntil([&] { return player.IsOpen("LaunchWindow"); }, 300, "the squad choice");
    EXPECT_EQ(player.OpenWindowNames().front(), "LaunchWindow") << "the full-screen window stays behind";
    const std::string unit = campaign.FirstTrayEntry("VornTray");
    ASSERT_FALSE(unit.empty()) << "the briefing's gift is in the unit tray";
    // Five Scouts, as many as the budget buys, dropped in a row across the squad's disc.
    const Point centre = player.WindowPoint("SquadWindow");
    for (int i = 0; i < 5; ++i) {
        player.Drag(campaign.TrayEntryPoint("VornTray", unit), Point(centre.x - 120 + 60 * i, centre.y));
        player.Frames(5);
    }
    campaign.Picture("squad_choice");
    campaign.ClickLaunchButton("Launch");
    player.FramesUntil([&] { return player.IsOpen("ArenaWindow"); }, 600, "the battle");
    player.Frames(30);
    campaign.Picture("battle");
    // The scenario's Mites are the computer's: the battle is fought, not won on its first
    // frames.
    player.Frames(240);
    EXPECT_TRUE(player.IsOpen("ArenaWindow"));
    EXPECT_FALSE(player.IsOpen("WinningWindow"));
}

}  // namespace
