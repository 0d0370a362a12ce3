// The campaign as a new player meets it: the map's tour, each lesson played by doing what
// its own text asks where it points, the first mission won with the units its briefing gave
// in a battle that is fought, the next lost for want of a squad, briefed again from the
// losing window and won with a full one, the crossing won, the next star's lessons up to
// the one where a pattern is written by hand; and a mission given up. Both end in the
// losing window with a way to try again: the loss with its hint, the mission left saying
// so. Every step is a click, drag or key; pictures are checked. The flow runs in parts side by side, each later one from the
// profile the one before it ends on and checks (CampaignProfiles.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "CampaignProfiles.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/LosingWindow.h"
#include "battlefield/PatternWindow.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternLimits.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

using play_test::CampaignPlayer;
using play_test::LessonStep;
using play_test::OnAScriptedClock;
using play_test::PlayerHarness;

// The first mission's gift, as many as asked.
std::vector<std::string> Scouts(int count) { return std::vector<std::string>(size_t(count), "Scout"); }

// A right click where the lesson points, which opens the window.
std::function<void()> OpenAtTheMark(PlayerHarness& player, const std::string& window) {
    return [&player, window] {
        player.RightClick(CampaignPlayer::Pointed());
        player.WaitFor(window);
    };
}

std::vector<LessonStep> BasicsSteps(PlayerHarness& player) {
    return {{"Move the camera", [&] {
                 const WindowCamera& camera = GetArenaWindow().CurrentCamera();
                 const Vector3 before = camera.target;
                 const IntRect map = player.OpenWindow("MiniMap").Rect();
                 player.Drag(Point(map.left + 30, map.top + 30), Point(map.left + 60, map.top + 50));
                 player.Frames(30);
                 EXPECT_GT(gArena->WrappedDistance2D(before, camera.target), 10.0f) << "the view follows the drag";
             }},
            // The lesson says the Scout won: it still stands.
            {"The Mite is gone", [] { EXPECT_EQ(gArena->CountObjectsOfKind(kKindVorn), 1); }}};
}

std::vector<LessonStep> PatternsSteps(PlayerHarness& player) {
    return {{"Right click your Brawler", OpenAtTheMark(player, "VornWindow")}};
}

// Whether the path's newest point stands clear of the others, where a player sees it.
::testing::AssertionResult TheNewPathPointShows() {
    const Pattern* pattern = GetPatternWindow().pattern;
    if (pattern == nullptr || pattern->pathPoints.Count() < 2) return ::testing::AssertionFailure() << "no point added";
    const Vector2 added = pattern->pathPoints[pattern->pathPoints.Count() - 1]->position;
    for (int32_t i = 0; i + 1 < pattern->pathPoints.Count(); ++i) {
        if (added.Distance(pattern->pathPoints[i]->position) < kPatternHitRadius) {
            return ::testing::AssertionFailure() << "the new point lies on point " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

// The lesson on paths and conditions: a pattern written by hand in the pattern editor.
std::vector<LessonStep> ConditionalsSteps(PlayerHarness& player) {
    // Where the enemy is dropped: beside the one ahead, as the two Scouts will stand.
    const auto theNewEnemy = [] {
        const Vector2 at = GetPatternWindow().PatternToScreen(Vector2(10.0f, 0.0f));
        return Point(int32_t(at.x), int32_t(at.y));
    };
    const auto clickTheMark = [&player] {
        player.Click(CampaignPlayer::Pointed());
        player.Frames(10);
    };
    const auto readOn = [] {};
    return {{"This Brawler needs a new idea", readOn},
            {"Right click the Brawler", OpenAtTheMark(player, "VornWindow")},
            {"Right click its first pattern", OpenAtTheMark(player, "PatternWindow")},
            {"Drag an enemy from the palette",
             [&player, theNewEnemy] { player.Drag(CampaignPlayer::Pointed(), theNewEnemy()); }},
            {"Double click in front of the Vorn",
             [&player] {
                 player.DoubleClick(CampaignPlayer::Pointed());
                 player.Frames(10);
                 EXPECT_TRUE(TheNewPathPointShows());
             }},
            {"right click it to open its action menu",
             [&player, theNewEnemy] {
                 player.RightClick(CampaignPlayer::Pointed());
                 player.WaitFor("ActionMenu");
                 const std::vector<std::string> actions = player.ItemNames("ActionMenu");
                 const auto fire = std::find_if(actions.begin(), actions.end(),
                                                [](const std::string& name) { return name.find("Fire") == 0; });
                 ASSERT_NE(fire, actions.end()) << "the action menu offers no fire action";
                 player.ClickItem("ActionMenu", *fire);
                 player.Frames(10);
                 player.MoveTo(theNewEnemy());
                 player.Frames(5);
                 player.Click(theNewEnemy());
             }},
            {"The buttons along the edge are conditionals", readOn},
            {"Switch on the injured conditional", clickTheMark},
            {"switch it off.", clickTheMark},
            {"The Brawler saw the Scouts", readOn}};
}

TEST(CampaignFlowTest, ANewProfileReadsTheMapsTourAndFollowsTheFirstLesson) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    // Where each landed unit faces comes from the game's random numbers: started from one
    // seed, every run fights the same battles, and a loss here is one a player can meet.
    sys::SRand(play_test::kCampaignSeed);
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    EXPECT_EQ(campaign.BriefEveryReachedEntry(), 1) << "a new profile starts at the first lesson";

    campaign.StartTheLesson("basics");
    EXPECT_TRUE(player.IsOpen("MiniMap")) << "the lesson asks the player to drag on it";
    campaign.FollowLesson("basics", BasicsSteps(player));
    campaign.WaitForTheMap("the map after the first lesson");
    play_test::ReachesTheSavedProfile(player, "basics");
}

// The flow onward, from the profiles the parts before it end on and check.
class CampaignFlowOnwardTest : public play_test::CampaignPart {};

TEST_F(CampaignFlowOnwardTest, TheFirstMissionIsFoughtAndWonAndPaysItsReward) {
    StartFrom("basics");
    CampaignPlayer& campaign = campaign_;
    PlayerHarness& player = player_;
    campaign.BriefTheNextEntry("first_contact_briefing");
    campaign.LaunchASquadOf(Scouts(5), "first_contact");
    // The scenario's Mites are the computer's: the battle is fought, not won at once.
    player.Frames(120);
    EXPECT_TRUE(player.IsOpen("ArenaWindow"));
    EXPECT_FALSE(player.IsOpen("WinningWindow"));
    const Image won = campaign.WaitForTheResult("WinningWindow", "The meadow is clear", "first_contact_won");
    EXPECT_TRUE(player.ShowsText(won, "1 boost", "WinningWindow")) << "the reward to spend";
    campaign.ClickRowButton("WinningWindow", "PlayButton");
    campaign.WaitForTheMap("the map after the first win");
    EXPECT_TRUE(campaign.RowButtonShown("MissionMapWindow", "CustomizeButton")) << "the reward is paid";
    EXPECT_EQ(campaign.BriefEveryReachedEntry(), 3) << "the won mission opens the next lesson";
    play_test::ReachesTheSavedProfile(player, "first_contact");
}

TEST_F(CampaignFlowOnwardTest, TheUnitEditorsLessonFollowed) {
    StartFrom("first_contact");
    campaign_.StartTheLesson("unit_editor");
    campaign_.FollowLesson("unit_editor", play_test::UnitEditorSteps(player_, "Bruiser"));
    campaign_.WaitForTheMap("the map after the unit editor's lesson");
    EXPECT_EQ(campaign_.BriefEveryReachedEntry(), 4);
    play_test::ReachesTheSavedProfile(player_, "unit_editor");
}

TEST_F(CampaignFlowOnwardTest, AMissionLostForWantOfASquadThenWonWithAFullOne) {
    StartFrom("unit_editor");
    CampaignPlayer& campaign = campaign_;
    // A lone Scout cannot hold the line: the keeper falls, the mission is lost and the
    // losing window's hint says why.
    campaign.BriefTheNextEntry("hold_the_line_briefing");
    campaign.LaunchASquadOf(Scouts(1), "hold_the_line");
    campaign.WaitForTheResult("LosingWindow", "The keeper fell", "hold_the_line_lost");
    campaign.TryAgain("Our keeper is stranded", "hold_the_line");

    // Six Scouts, all the budget buys, land between the keeper and the Scouts.
    campaign.WinWithScouts(6, "hold_the_line_again", "Our keeper is stranded");
    campaign.WaitForTheResult("WinningWindow", "The keeper is safe", "hold_the_line_won");
    campaign.ClickRowButton("WinningWindow", "PlayButton");
    campaign.WaitForTheMap("the map after holding the line");
    play_test::ReachesTheSavedProfile(player_, "hold_the_line");
}

TEST_F(CampaignFlowOnwardTest, TheCrossingWon) {
    StartFrom("hold_the_line");
    CampaignPlayer& campaign = campaign_;
    campaign.BriefTheNextEntry("crossing_briefing");
    campaign.WinWithScouts(5, "crossing", "The only way over is");
    campaign.WaitForTheResult("WinningWindow", "You crossed the river", "crossing_won");
    campaign.ClickRowButton("WinningWindow", "PlayButton");
    campaign.WaitForTheMap("the map after the crossing");
    play_test::ReachesTheSavedProfile(player_, "first_star");
}

// The next star's lessons.
TEST_F(CampaignFlowOnwardTest, TheNextStarsLessonsUpToTheOneOnPathsAndConditions) {
    StartFrom("first_star");
    campaign_.StartTheLesson("patterns");
    campaign_.FollowLesson("patterns", PatternsSteps(player_));
    campaign_.WaitForTheMap("the map after the patterns lesson");

    campaign_.StartTheLesson("conditionals");
    // The battle is the Brawler's alone against two Scouts: it may take a while.
    campaign_.FollowLesson("conditionals", ConditionalsSteps(player_), 20000);
    campaign_.WaitForTheMap("the map after the lesson on paths and conditions");
}

TEST(CampaignFlowTest, AMissionGivenUpEndsInTheLosingWindowWhoseRetryBriefsItAgain) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.SkipTheNextLesson();

    campaign.BriefTheNextEntry("lost_briefing");
    campaign.LaunchASquadOf(Scouts(1), "lost");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    // Left with time to spare, it was not lost to the enemy: the window says so, speaks
    // none of the mission's hints, and offers none.
    campaign.WaitForTheResult("LosingWindow", "You left the mission before it was over.", "lost");
    EXPECT_FALSE(CampaignPlayer::Says("beaten")) << CampaignPlayer::Said();
    EXPECT_TRUE(GetLosingWindow().hints.IsEmpty());
    EXPECT_FALSE(TextBox::Instance()->IsSpeaking());
    EXPECT_FALSE(GetLosingWindow().buttons.IsVisible(LosingWindow::kNextHint));
    campaign.TryAgain("Three little Mites", "lost");
}

}  // namespace
