// The whole campaign as one player plays it, from the map after the first star (where the
// first star's flow ends, CampaignFlowTest) to the free play: the second star's missions
// won and its lesson on squads followed, the third star's lesson on upgrades followed and
// its missions won, the last lesson followed, the kick-off won and the free play briefed.
// Each star's steps are written beside its own helpers. The parts run side by side: each
// starts from the profile the part before it ends on and checks (CampaignProfiles.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CampaignLastStars.h"
#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "CampaignProfiles.h"
#include "CampaignSecondStar.h"
#include "CampaignThirdStar.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "modes/GameModes.h"
#include "modes/SquadWindow.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Tray.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

using play_test::CampaignPlayer;
using play_test::PlayerHarness;

// The entry the map offers last, by its file's name.
std::string TheNextEntry(CampaignPlayer& campaign) {
    const std::vector<int> reached = campaign.ReachedEntries();
    if (reached.empty()) return std::string();
    return GetGameModes()->mission.campaign.entryNames[reached.back()].CStr();
}

class CampaignWholeTest : public play_test::CampaignPart {};

TEST_F(CampaignWholeTest, TheSecondStarsLessonsSkippedAndItsEscortWon) {
    StartFrom("first_star");
    campaign_.SkipTheNextLesson();
    campaign_.SkipTheNextLesson();
    play_test::WinTheEscort(campaign_);
    play_test::ReachesTheSavedProfile(player_, "second_star_escort");
}

// Won at the first go from the part's seed, and (VORNS_RACE_SEEDS) from at least 8 of 10
// further landings of the same squad.
TEST_F(CampaignWholeTest, TheRaceWonBySmallUnits) {
    StartFrom("second_star_escort");
    play_test::WinTheRace(campaign_);
    EXPECT_EQ(campaign_.triesTaken, 1) << "the race was lost at the first go";
    play_test::ReachesTheSavedProfile(player_, "second_star_race");
    const int seeds = play_test::RaceSeeds();
    const int won = (campaign_.triesTaken == 1 ? 1 : 0) +
                    play_test::RaceAgain(campaign_, player_, play_test::kCampaignSeed + 1, seeds - 1);
    std::cout << "the race was won from " << won << " of " << seeds << " seeds\n";
    EXPECT_GE(won * 10, seeds * 8) << "won from " << won << " of " << seeds << " seeds";
}

// The squad's first drop lands far from the Mites, where the mini-map takes the view, as
// a player who follows the pages loosely drops it: Ctrl+F shows the frame rate, a second
// squad dragged in meanwhile is refused with the lesson's words, and the battle still
// ends: Vorns see only what is near them, so it ends with the lesson's words on the quiet
// battle, and the lesson is set up again from its own files. Every later drop lands near
// the Mites. Like those, the far one is fought from the campaign's seed, whatever frames
// the spoken pages before it took.
std::vector<play_test::LessonStep> SquadsStepsLandingFarFirst(PlayerHarness& player, play_test::SquadsBattles& battles,
                                                              bool& timedOut) {
    std::vector<play_test::LessonStep> steps = play_test::SquadsSteps(player, battles);
    for (play_test::LessonStep& step : steps) {
        if (step.words == "A squad is a group of Vorns") {
            step.act = [&timedOut] {
                if (timedOut) EXPECT_EQ(GetSquadWindow().squad->Count(), 0) << "the lost try's squad is in the circle";
            };
        }
        if (step.words != "Your squad is in the squad tray") continue;
        step.act = [&player, &battles, nearTheMites = step.act] {
            if (battles.droppedFar) return nearTheMites();
            battles.droppedFar = true;
            auto& tray = dynamic_cast<Tray&>(player.OpenWindow("SquadTray"));
            const int32_t saved = tray.FindRecentEntry("Vanguard");
            ASSERT_TRUE(saved >= 0 && saved < tray.recentRects.Count()) << "the saved squad is not in the tray";
            player.Click(player.WindowPoint("MiniMap", 0.2f, 0.2f));
            player.Frames(10);
            sys::SRand(play_test::kCampaignSeed);
            player.Drag(tray.recentRects[saved].GetCenter(), player.WindowPoint("ArenaWindow", 0.15f, 0.5f));
            player.Frames(120);
            const size_t landed = play_test::UnitsOnTheField(true).size();
            for (const Vorn* unit : play_test::UnitsOnTheField(true)) {
                for (const Vorn* mite : play_test::UnitsOnTheField(false)) {
                    const Vector3 apart = gArena->NearestImage(unit->position, mite->position) - unit->position;
                    EXPECT_GT(apart.Length(), 40.0f) << "the squad landed by the Mites";
                }
            }
            // The meter's green is not told from the grass by the glyph check: its run is read.
            for (const bool shown : {true, false}) {
                player.Chord({win::kKeyControl, win::kKeyF});
                player.Frames(20);
                if (shown) player.KeepPicture("campaign_squads_frame_rate");
                const std::vector<play_test::ShownText>& runs = player.TextsShown();
                EXPECT_EQ(std::ranges::any_of(runs, [](const auto& run) { return run.text.starts_with("FPS"); }), shown)
                    << "Ctrl+F";
            }
            CampaignPlayer campaign(player);
            player.Drag(campaign.TrayEntryPoint("SquadTray", "Scouts"), player.WindowPoint("ArenaWindow", 0.3f, 0.5f));
            player.Frames(10);
            EXPECT_EQ(play_test::UnitsOnTheField(true).size(), landed) << "a second squad landed";
            const Image refused = player.Picture();
            player.KeepPicture("campaign_squads_second_squad_refused");
            EXPECT_TRUE(player.ShowsTextRun(refused, "Only one squad fights in this lesson"));
            // Said, the words leave the battlefield to the player again.
            player.FramesUntil([&player] { return !player.IsOpen("TextBox"); }, 1000, "the refusal's words going");
            play_test::TheViewMovesInTheBattle(player);
        };
    }
    steps.push_back({"Your squad and the Mites never met", [&timedOut] { timedOut = true; }, true});
    return steps;
}

TEST_F(CampaignWholeTest, TheLessonOnSquadsFollowed) {
    StartFrom("second_star_race");
    play_test::SquadsBattles battles{play_test::LessonSeeds()};
    bool timedOut = false;
    campaign_.StartTheLesson("squads");
    campaign_.FollowLesson("squads", SquadsStepsLandingFarFirst(player_, battles, timedOut), 20000);
    campaign_.WaitForTheMap("the map after the lesson on squads");
    EXPECT_TRUE(timedOut) << "the squad dropped far from the Mites met them: it lands too near";
    play_test::ReachesTheSavedProfile(player_, "second_star_squads");
    // The squad the pages build, dropped where they say, wins from most seeds.
    while (battles.fought < battles.seeds) play_test::PlayTheSquadsLessonAgain(player_, campaign_, battles);
    std::printf("The lesson on squads: %d of %d battles won\n", battles.won, battles.fought);
    EXPECT_GE(battles.won * 10, battles.fought * 8);
}

TEST_F(CampaignWholeTest, TheBridgeAndTheRefugeWon) {
    StartFrom("second_star_squads");
    play_test::WinTheBridge(campaign_);
    play_test::WinTheRefuge(campaign_);
    ASSERT_EQ(TheNextEntry(campaign_), "UpgradesTutorial");
    play_test::ReachesTheSavedProfile(player_, "second_star");
}

TEST_F(CampaignWholeTest, TheLessonOnUpgradesFollowedAndTheCaptiveFreed) {
    StartFrom("second_star");
    ASSERT_EQ(TheNextEntry(campaign_), "UpgradesTutorial");
    play_test::third_star::PlayTheUpgradesLesson(player_, campaign_);
    play_test::third_star::FreeTheCaptive(player_, campaign_);
    play_test::ReachesTheSavedProfile(player_, "third_star_captive");
}

TEST_F(CampaignWholeTest, TheHuntWonWithTheSpeedBoughtInTheLesson) {
    StartFrom("third_star_captive");
    play_test::third_star::WinTheHunt(campaign_);
    ASSERT_EQ(TheNextEntry(campaign_), "Summit");
    play_test::ReachesTheSavedProfile(player_, "third_star");
}

TEST_F(CampaignWholeTest, TheSummitClimbedAndTheForestSaved) {
    StartFrom("third_star");
    play_test::WinTheSummit(player_, campaign_);
    play_test::SaveTheForest(player_, campaign_);
    play_test::ReachesTheSavedProfile(player_, "last_star_forest");
}

TEST_F(CampaignWholeTest, TheNetworkLessonFollowedTheKickOffWonAndTheFreePlayBriefed) {
    StartFrom("last_star_forest");
    play_test::FollowTheNetworkLesson(player_, campaign_);
    play_test::BriefTheFinalEntries(player_, campaign_);
    play_test::WinTheKickOffAndBriefTheFreePlay(campaign_);

    // The won campaign's game menu offers the victory scene too: with all its buttons on
    // the ring, its label is still read whole, clear of every button.
    campaign_.ClickRowButton("MissionMapWindow", "ExitButton");
    player_.WaitFor("GameMenu");
    player_.Frames(5);
    const std::vector<std::string> buttons = player_.ItemNames("GameMenu");
    ASSERT_EQ(buttons.size(), 7u);
    const Image picture = player_.Picture();
    player_.KeepPicture("campaign_won_game_menu");
    EXPECT_TRUE(player_.ShowsText(picture, "Game menu", "GameMenu"));
    int labels = 0;
    for (const play_test::ShownText& run : player_.TextsShown()) {
        if (run.text != "Game menu") continue;
        ++labels;
        for (const std::string& button : buttons) {
            const IntRect item = player_.ItemRect("GameMenu", button);
            const bool apart = item.right <= run.rect.left || run.rect.right <= item.left ||
                               item.bottom <= run.rect.top || run.rect.bottom <= item.top;
            EXPECT_TRUE(apart) << "the button " << button << " covers the label";
        }
    }
    EXPECT_GE(labels, 1) << "no label drawn";
}

}  // namespace
