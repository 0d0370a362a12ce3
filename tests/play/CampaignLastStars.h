#pragma once
// The end of the campaign as a player takes it, from the map after "The hunt" is won:
// the summit climbed with the Climber its briefing gives, the Firebug stopped before the
// forest burns, the lesson on network play followed step by step, and the two final
// entries shown on the map, the first of them briefed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "modes/GameModes.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace play_test {

// The campaign entry of that name (its ".MIS" file's); fails when the list has none.
inline int CampaignEntry(const std::string& name) {
    const CampaignList& campaign = GetGameModes()->mission.campaign;
    for (int i = 0; i < campaign.Count(); ++i) {
        if (name == campaign.entryNames[i].CStr()) return i;
    }
    throw PlayerStepFailed("the campaign has no entry \"" + name + "\"");
}

// "Summit": the briefing gives the Climber, whose patterns test the ground ahead and walk
// uphill; a squad of them is launched and one stands on the top within the time.
inline void WinTheSummit(PlayerHarness& player, CampaignPlayer& campaign) {
    campaign.BriefTheNextEntry("summit_briefing");
    EXPECT_EQ(GetGameModes()->mission.missionIndex, CampaignEntry("Summit"));
    EXPECT_TRUE(CampaignPlayer::Says("Plant our flag on the top")) << CampaignPlayer::Said();
    EXPECT_TRUE(player.ShowsTextRun(player.Picture(), "terrain test for higher ground")) << "the hint is read";
    campaign.WinWith(std::vector<std::string>(8, "Climber"), "summit", "Plant our flag on the top");
    campaign.WaitForTheResult("WinningWindow", "You reached the summit", "summit_won");
    campaign.BackToTheMapAfterTheWin("the summit");
}

// "Forest fire": the Firebug roams the ring of trees with its flamethrower; a squad of
// Scouts hunts it down while the trees still stand.
inline void SaveTheForest(PlayerHarness& player, CampaignPlayer& campaign) {
    campaign.BriefTheNextEntry("forest_briefing");
    EXPECT_EQ(GetGameModes()->mission.missionIndex, CampaignEntry("Forest"));
    EXPECT_TRUE(CampaignPlayer::Says("The Firebug is loose")) << CampaignPlayer::Said();
    EXPECT_TRUE(player.ShowsTextRun(player.Picture(), "Destroy it."));
    campaign.WinWith(std::vector<std::string>(8, "Scout"), "forest", "The Firebug is loose");
    campaign.WaitForTheResult("WinningWindow", "The Firebug is out", "forest_won");
    campaign.BackToTheMapAfterTheWin("the forest fire");
}

// The lesson on network play, each step done where it points: the address typed in its
// box; the last words say where network games start.
inline std::vector<LessonStep> NetworkSteps(PlayerHarness& player) {
    return {{"Click the address button",
             [&player] {
                 player.Click(CampaignPlayer::Pointed());
                 player.WaitFor("ServerIPEditBox");
                 // The last address is selected: typing replaces it, and an address cut
                 // short is refused with its reason while the box stays.
                 player.Type("192.168.1");
                 player.TapKey(win::kKeyReturn);
                 player.Frames(2);
                 EXPECT_TRUE(player.IsOpen("ServerIPEditBox")) << "a short address is not taken";
                 EXPECT_TRUE(player.ShowsText("Not an address", "ServerIPEditBox"));
                 EXPECT_TRUE(player.ShowsText("192.168.1", "ServerIPEditBox"));
                 player.Type(".20");
                 player.TapKey(win::kKeyReturn);
                 player.WaitUntilClosed("ServerIPEditBox");
                 player.Frames(2);
                 const std::vector<ShownText> texts = player.TextsShown();
                 EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const ShownText& run) {
                     return run.text == "192.168.1.20";
                 })) << "the screen shows the address typed";
             }},
            {"Host or join a game from the game menu", [] {}}};
}

inline void FollowTheNetworkLesson(PlayerHarness& player, CampaignPlayer& campaign) {
    campaign.StartTheLesson("network");
    EXPECT_TRUE(player.IsOpen("ClientSetupWindow")) << "the lesson is held on the joining screen";
    campaign.FollowLesson("network", NetworkSteps(player));
    campaign.WaitForTheMap("the map after the network lesson");
}

// The last star's two entries are drawn on the map once the lesson is done; the first is
// briefed from its planet, the second waits, dark, until the first is won.
inline void BriefTheFinalEntries(PlayerHarness& player, CampaignPlayer& campaign) {
    const int kickOff = CampaignEntry("Pitch");
    const int freePlay = CampaignEntry("FreePlay");
    EXPECT_TRUE(campaign.Map().missions[kickOff].shown);
    EXPECT_TRUE(campaign.Map().missions[freePlay].shown);
    EXPECT_FALSE(campaign.Map().missions[freePlay].enabled) << "free play opens after the kick-off";
    player.Frames(10);
    campaign.Picture("final_entries_map");
    player.MoveTo(campaign.Map().missions[kickOff].centre);
    campaign.WaitForTheTip("Kick-off");
    EXPECT_TRUE(player.ShowsText("Kick-off", "MissionMapWindow"));
    campaign.ClickPlanet(kickOff);
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the briefing of the kick-off");
    player.Frames(30);
    EXPECT_EQ(GetGameModes()->mission.missionIndex, kickOff);
    EXPECT_TRUE(CampaignPlayer::Says("Time for a match!")) << CampaignPlayer::Said();
    campaign.Picture("kick_off_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "ExitButton");
    campaign.WaitForTheMap("the map after the kick-off's briefing");
}

// "Kick-off": the briefing gives the Striker, whose kicker sends the ball on; six of them
// score, and the free play that follows is briefed from the map.
inline void WinTheKickOffAndBriefTheFreePlay(CampaignPlayer& campaign) {
    campaign.BriefTheNextEntry("kick_off_again_briefing");
    EXPECT_EQ(GetGameModes()->mission.missionIndex, CampaignEntry("Pitch"));
    campaign.WinWith(std::vector<std::string>(6, "Striker"), "kick_off", "Time for a match!");
    campaign.WaitForTheResult("WinningWindow", "Goal!", "kick_off_won");
    campaign.BackToTheMapAfterTheWin("the kick-off");
    EXPECT_TRUE(campaign.Map().missions[CampaignEntry("FreePlay")].enabled) << "the won kick-off opens free play";
    campaign.BriefTheNextEntry("free_play_briefing");
    EXPECT_EQ(GetGameModes()->mission.missionIndex, CampaignEntry("FreePlay"));
    EXPECT_TRUE(CampaignPlayer::Says("You have seen everything")) << CampaignPlayer::Said();
    campaign.ClickRowButton("MissionBriefingWindow", "ExitButton");
    campaign.WaitForTheMap("the map after the free play's briefing");
}

}  // namespace play_test
