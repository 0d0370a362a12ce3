// The campaign as a new player meets it: the map's tour, each lesson played by doing what
// its own text asks where it points, each mission with the units its briefing gave, won in
// a battle that is fought; and a mission given up, which ends in the losing window with its
// hint and a way to try again. Every step is a click, drag or key; pictures are checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::CampaignPlayer;
using play_test::LessonStep;
using play_test::PlayerHarness;

// Picks the first item of the open menu that is not the one in use now.
void PickAnotherItem(PlayerHarness& player, const std::string& menu) {
    player.WaitFor(menu);
    const std::vector<std::string> items = player.ItemNames(menu);
    ASSERT_FALSE(items.empty()) << menu << " offers nothing";
    player.ClickItem(menu, items.size() > 1 ? items[1] : items[0]);
    player.Frames(10);
}

// Answers yes when a question opens after a change.
void ConfirmIfAsked(PlayerHarness& player, const std::string& question) {
    player.Frames(10);
    if (!player.IsOpen(question)) return;
    player.ClickItem(question, player.ItemNames(question).front());
    player.Frames(10);
}

std::vector<LessonStep> BasicsSteps(PlayerHarness& player) {
    return {{"Move the camera", [&] {
                 const IntRect map = player.OpenWindow("MiniMap").Rect();
                 player.Drag(Point(map.left + 30, map.top + 30), Point(map.left + 60, map.top + 50));
             }}};
}

std::vector<LessonStep> UnitEditorSteps(PlayerHarness& player) {
    return {{"Right click your Scout",
             [&] {
                 player.RightClick(CampaignPlayer::Pointed());
                 player.WaitFor("VornWindow");
             }},
            {"Click the chassis",
             [&] {
                 player.Click(CampaignPlayer::Pointed());
                 PickAnotherItem(player, "ChassisMenu");
                 ConfirmIfAsked(player, "ConfirmChangeVornChassisMenu");
             }},
            {"Click the left weapon",
             [&] {
                 player.Click(CampaignPlayer::Pointed());
                 PickAnotherItem(player, "WeaponMenu");
             }},
            {"Click the save button", [&] {
                 player.Click(CampaignPlayer::Pointed());
                 player.WaitFor("VornNameEditBox");
                 player.Type("Bruiser");
                 player.TapKey(win::kKeyReturn);
                 ConfirmIfAsked(player, "ConfirmOverwriteVornMenu");
             }}};
}

TEST(CampaignFlowTest, ANewProfilePlaysTheLessonsAndWinsTheMissionsItReaches) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    EXPECT_EQ(campaign.BriefEveryReachedEntry(), 1) << "a new profile starts at the first lesson";

    campaign.StartTheLesson("basics");
    EXPECT_TRUE(player.IsOpen("MiniMap")) << "the lesson asks the player to drag on it";
    campaign.FollowLesson("basics", BasicsSteps(player));
    campaign.WaitForTheMap("the map after the first lesson");

    campaign.BriefTheNextEntry("first_contact_briefing");
    campaign.LaunchASquadOf(5, "first_contact");
    // The scenario's Mites are the computer's: the battle is fought, not won at once.
    player.Frames(120);
    EXPECT_TRUE(player.IsOpen("ArenaWindow"));
    EXPECT_FALSE(player.IsOpen("WinningWindow"));
    const Image won = campaign.WaitForTheResult("WinningWindow", "The meadow is clear", "first_contact_won");
    EXPECT_TRUE(player.ShowsText(won, "1 boost", "WinningWindow")) << "the reward to spend";
    player.FramesUntil([&] { return CampaignPlayer::Says("You earned one boost"); }, 1200, "the reward announced");
    campaign.ClickRowButton("WinningWindow", "PlayButton");
    campaign.WaitForTheMap("the map after the first win");
    EXPECT_EQ(campaign.BriefEveryReachedEntry(), 3) << "the won mission opens the next lesson";

    campaign.StartTheLesson("unit_editor");
    campaign.FollowLesson("unit_editor", UnitEditorSteps(player));
    campaign.WaitForTheMap("the map after the unit editor's lesson");
    EXPECT_EQ(campaign.BriefEveryReachedEntry(), 4);
}

TEST(CampaignFlowTest, AMissionGivenUpEndsInTheLosingWindowWhoseRetryBriefsItAgain) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.BriefTheNextEntry("skipped_lesson_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "SkipTutorialButton");
    campaign.WaitForTheMap("the map after skipping the lesson");

    campaign.BriefTheNextEntry("lost_briefing");
    campaign.LaunchASquadOf(1, "lost");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    campaign.WaitForTheResult("LosingWindow", "Your squad was beaten", "lost");
    campaign.HoverRetry();
    EXPECT_TRUE(player.ShowsText("Try again"));
    player.KeepPicture("campaign_lost_retry_tip");

    campaign.ClickRetry();
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the briefing again");
    EXPECT_TRUE(CampaignPlayer::Says("Three little Mites")) << CampaignPlayer::Said();
    campaign.Picture("lost_retry_briefing");
}

}  // namespace
