#pragma once
// Steps of the campaign's lessons shared by its flows: the scripted clock the battles run
// on, the answers to the questions a change asks, and the unit editor's lesson done as
// it asks.
#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace play_test {

// Drawn with GL, each frame a fiftieth of a second of game time: the battles are the same
// on a busy machine as on an idle one.
inline HarnessSettings OnAScriptedClock() {
    HarnessSettings settings = WithPictures();
    settings.frameSeconds = 0.02f;
    return settings;
}

// Picks the first item of the open menu that is not the one in use now.
inline void PickAnotherItem(PlayerHarness& player, const std::string& menu) {
    player.WaitFor(menu);
    const std::vector<std::string> items = player.ItemNames(menu);
    ASSERT_FALSE(items.empty()) << menu << " offers nothing";
    player.ClickItem(menu, items.size() > 1 ? items[1] : items[0]);
    player.Frames(10);
}

// Answers yes when a question opens after a change.
inline void ConfirmIfAsked(PlayerHarness& player, const std::string& question) {
    player.Frames(10);
    if (!player.IsOpen(question)) return;
    player.ClickItem(question, player.ItemNames(question).front());
    player.Frames(10);
}

// The unit editor's lesson: the Scout opened where the lesson points, another chassis and
// weapon picked, and the unit saved under the name given.
inline std::vector<LessonStep> UnitEditorSteps(PlayerHarness& player, const std::string& name) {
    return {{"Right click your Scout",
             [&player] {
                 player.RightClick(CampaignPlayer::Pointed());
                 player.WaitFor("VornWindow");
             }},
            {"Click the chassis",
             [&player] {
                 player.Click(CampaignPlayer::Pointed());
                 PickAnotherItem(player, "ChassisMenu");
                 ConfirmIfAsked(player, "ConfirmChangeVornChassisMenu");
             }},
            {"Click the left weapon",
             [&player] {
                 player.Click(CampaignPlayer::Pointed());
                 PickAnotherItem(player, "WeaponMenu");
             }},
            {"Click the save button", [&player, name] {
                 player.Click(CampaignPlayer::Pointed());
                 player.WaitFor("VornNameEditBox");
                 player.Type(name);
                 player.TapKey(win::kKeyReturn);
                 ConfirmIfAsked(player, "ConfirmOverwriteVornMenu");
             }}};
}

}  // namespace play_test
