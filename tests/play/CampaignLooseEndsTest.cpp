// Corners of the campaign a player meets off its straight path: a lesson's battle lost,
// which the lesson owns up to and sets up again instead of waiting for ever, and
// the squad choice's file buttons, which must sit inside their window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "CampaignProfiles.h"
#include "battlefield/ArenaWindow.h"
#include "game/Player.h"
#include "modes/GameModes.h"
#include "modes/TutorialGame.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

using play_test::CampaignPlayer;
using play_test::LessonStep;
using play_test::OnAScriptedClock;
using play_test::PlayerHarness;
using play_test::UnitEditorSteps;

bool Contains(IntRect outer, IntRect inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(IntRect a, IntRect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Does what the running lesson asks, each step once, and reads on where the text box waits,
// until it says the words.
void FollowUntilItSays(PlayerHarness& player, const std::vector<LessonStep>& steps, const std::string& words) {
    std::vector<bool> done(steps.size(), false);
    player.FramesUntil(
        [&] {
            if (CampaignPlayer::Says(words)) return true;
            for (size_t i = 0; i < steps.size(); ++i) {
                if (done[i] || !CampaignPlayer::Says(steps[i].words)) continue;
                done[i] = true;
                player.Frames(10);
                steps[i].act();
                return false;
            }
            const TextBox* box = TextBox::Instance();
            if (box != nullptr && box->open && box->waitForContinue) {
                player.TapKey(win::kKeySpace);
                player.Frames(10);
            }
            return false;
        },
        6000, "\"" + words + "\"; the text box says: " + CampaignPlayer::Said());
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_TRUE(done[i]) << "never asked: " << steps[i].words;
}

// The lesson's battle going the Mite's way: every unit of the player's takes a blow it
// cannot survive, dealt by the Mite's owner through the field's own damage, once the
// lesson waits for the Mite to fall. A Scout rebuilt any way the lesson offers beats the
// Mite, so the loss a player meets by bad luck is dealt here.
void TheMiteWins() {
    std::vector<Vorn*> mine;
    Player* mites = nullptr;
    for (WorldObject* object : gArena->Objects()) {
        auto* unit = object->kind == kKindVorn ? static_cast<Vorn*>(object) : nullptr;
        if (unit == nullptr) continue;
        if (unit->owner == ArenaWindow::FriendlyPlayer()) {
            mine.push_back(unit);
        } else {
            mites = unit->owner;
        }
    }
    ASSERT_NE(mites, nullptr) << "no Mite on the field";
    ASSERT_FALSE(mine.empty()) << "no unit of the player's on the field";
    for (Vorn* unit : mine) unit->TakeDamage(mites, unit->position, unit->health + 1.0f, 0);
}

// From the map after the first mission is won (CampaignFlowTest ends there).
class CampaignLostLessonTest : public play_test::CampaignPart {};

TEST_F(CampaignLostLessonTest, ALessonsBattleLostIsOwnedUpToSetUpAgainAndThenWon) {
    StartFrom("first_contact");
    PlayerHarness& player = player_;
    CampaignPlayer& campaign = campaign_;
    campaign.StartTheLesson("lost_lesson");
    FollowUntilItSays(player, UnitEditorSteps(player, "Unlucky"), "Your new Vorn is ready");
    player.TapKey(win::kKeySpace);
    const TutorialGame& lesson = GetGameModes()->tutorial;
    player.FramesUntil(
        [&] { return lesson.CurrentStep() != nullptr && lesson.CurrentStep()->kind == TutorialStepKind::kGoal; }, 600,
        "the battle the lesson waits on");
    player.Frames(60);
    TheMiteWins();
    const std::string lost = "Your Vorn has fallen";
    player.FramesUntil([&] { return CampaignPlayer::Says(lost); }, 600, "the lesson owning up to the loss");
    player.Frames(30);
    const Image owned = player.Picture();
    EXPECT_TRUE(player.ShowsTextRun(owned, lost));
    EXPECT_TRUE(PlayerHarness::ShowsAScreen(owned, "the lost lesson"));
    player.KeepPicture("campaign_lost_lesson_owned_up");

    // Read on: the lesson starts over on a fresh field, and this time the battle is won.
    player.TapKey(win::kKeySpace);
    player.FramesUntil([&] { return CampaignPlayer::Says("Every Vorn is built"); }, 600, "the lesson from its start");
    EXPECT_EQ(lesson.CurrentStep()->kind, TutorialStepKind::kStage);
    campaign.FollowLesson("lost_lesson_again", UnitEditorSteps(player, "Lucky"), 20000);
    campaign.WaitForTheMap("the map after the lesson tried again");
}

// The squad choice's Save and Clear stand inside the squad window, clear of its layout
// buttons, and Save opens the name box.
TEST(CampaignLooseEndsTest, TheSquadWindowsSaveButtonSitsInsideIt) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.SkipTheNextLesson();
    campaign.BriefTheNextEntry("save_button_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "PlayButton");
    player.WaitFor("SquadWindow");
    player.Frames(20);
    player.KeepPicture("campaign_squad_window_buttons");

    const IntRect window = player.OpenWindow("SquadWindow").Rect();
    const IntRect save = player.ItemRect("SquadWindow", "Save");
    EXPECT_TRUE(Contains(window, save)) << "Save at " << save.left << "," << save.top << "-" << save.right << ","
                                        << save.bottom << " in " << window.left << "," << window.top << "-"
                                        << window.right << "," << window.bottom;
    for (const char* other : {"Clear", "Circle", "Line", "Random"}) {
        const IntRect button = player.ItemRect("SquadWindow", other);
        EXPECT_TRUE(Contains(window, button)) << other;
        EXPECT_FALSE(Overlap(save, button))
            << other << " " << button.left << "," << button.top << "-" << button.right << "," << button.bottom;
    }
    player.Drag(campaign.TrayEntryPoint("VornTray", "Scout"), player.WindowPoint("SquadWindow"));
    player.Frames(5);
    player.Click(save.GetCenter());
    player.WaitFor("SquadNameEditBox");
}

}  // namespace
