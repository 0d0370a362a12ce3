#pragma once
// The third star's first half as a player plays it: the lesson on upgrades followed to its
// end, the captive freed by Scouts taught to spare VIPs, and the hunt won by fast Scouts.
// Each stage starts and ends on the campaign map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "battlefield/PatternWindow.h"
#include "core/MathUtil.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/UpgradeWindow.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"

namespace play_test {

// The stages' own helpers, apart from the other stars' flows that are chained with them.
namespace third_star {

// The lesson on upgrades: it reads out the upgrade window, and the player buys the small
// chassis' speed and accepts.
inline std::vector<LessonStep> UpgradesSteps(PlayerHarness& player) {
    const auto clickTheMark = [&player] {
        player.Click(CampaignPlayer::Pointed());
        player.Frames(10);
    };
    const auto readOn = [] {};
    // Over a whole turn of the circling badge, the level it explains stays uncovered.
    const auto readTheLevel = [&player] {
        const auto& screen = dynamic_cast<const UpgradeWindow&>(player.OpenWindow("UpgradeWindow"));
        float turned = 0.0f, phase = screen.badgePhase;
        for (int frame = 0; frame < 2000 && turned < kTwoPi; ++frame) {
            player.Frame();
            turned += screen.badgePhase >= phase ? screen.badgePhase - phase : screen.badgePhase - phase + kTwoPi;
            phase = screen.badgePhase;
            const UpgradeWindow::BadgeSquares squares = screen.BadgesOf(0);
            const bool apart = squares.next.right <= squares.level.left || squares.level.right <= squares.next.left ||
                               squares.next.bottom <= squares.level.top || squares.level.bottom <= squares.next.top;
            ASSERT_TRUE(apart) << "the next level's badge covers the level at phase " << phase;
        }
        EXPECT_GE(turned, kTwoPi) << "the badge never went round";
        const IntRect level = screen.BadgesOf(0).level;
        EXPECT_EQ(level.right - level.left, 36) << "the badges of the button under the pointer are not enlarged";
    };
    return {{"Every mission you win earns boosts", readOn},
            {"Each column is one chassis size", readOn},
            {"These buttons improve the weapons", readOn},
            {"click the speed button", clickTheMark},
            {"The number shows the level", readTheLevel},
            {"The sliders paint your Vorns", readOn},
            {"Press Accept.", clickTheMark}};
}

inline void PlayTheUpgradesLesson(PlayerHarness& player, CampaignPlayer& campaign) {
    const int32_t boosts = GetLocalPlayer().boosts;
    campaign.StartTheLesson("upgrades");
    campaign.FollowLesson("upgrades", UpgradesSteps(player));
    campaign.WaitForTheMap("the map after the lesson on upgrades");
    EXPECT_EQ(GetLocalPlayer().boosts, boosts - 1) << "the speed bought in the lesson is paid and kept";
}

// The name the taught Scout is saved under.
inline const std::string kRescuer = "Rescuer";

// The captive's briefing hands out the property that tells VIPs apart; back on the map, in
// the training grounds, the Scout's first pattern (fire at an enemy ahead) is told to
// match only enemies that are not VIPs, as the captive's hint says, and the Scout is saved
// anew as the Rescuer.
inline void TeachAScoutToSpareVips(PlayerHarness& player, CampaignPlayer& campaign) {
    campaign.BriefTheNextEntry("captive_briefing");
    EXPECT_TRUE(CampaignPlayer::Says("leave the captive standing")) << CampaignPlayer::Said();
    campaign.ClickRowButton("MissionBriefingWindow", "ExitButton");
    campaign.WaitForTheMap("the map after the captive's briefing");
    campaign.ClickRowButton("MissionMapWindow", "TrainingGroundsButton");
    player.FramesUntil([&] { return player.Mode() == "TrainingGame" && player.IsOpen("VornTray"); }, 600,
                       "the training grounds");
    player.Frames(30);
    // Units of one size share their chassis' picture: the tray writes each one's name on it.
    const Point scout = player.EntryPoint("VornTray", "Scout");
    const auto onTheScout = [&scout](const play_test::ShownText& run) {
        const Point middle = run.rect.GetCenter();
        return run.text == "Scout" && std::abs(middle.x - scout.x) < 26 && std::abs(middle.y - scout.y) < 14;
    };
    const std::vector<play_test::ShownText> texts = player.TextsShown();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), onTheScout)) << "the Scout's tray button has no name";
    player.RightClick(player.EntryPoint("VornTray", "Scout"));
    player.WaitFor("VornWindow");
    player.RightClick(player.ItemPoint("VornWindow", "Pattern", 0));
    player.WaitFor("PatternWindow");
    player.Frames(10);
    const PatternObject* enemy = GetPatternWindow().pattern->FindObjectOfKind(kPatternEnemy, 0);
    ASSERT_NE(enemy, nullptr) << "the Scout's first pattern shows no enemy";
    const Vector2 at = GetPatternWindow().PatternToScreen(enemy->position);
    const Point onTheEnemy(int32_t(at.x), int32_t(at.y));
    player.MoveTo(onTheEnemy);
    player.Frames(5);
    player.RightClick(onTheEnemy);
    player.WaitFor("PatternObjectPropertyMenu");
    campaign.Picture("captive_not_vip_property");
    player.ClickItem("PatternObjectPropertyMenu", "NotVIP");
    player.Frames(10);
    EXPECT_NE(enemy->properties[kPropertyNotVIP], 0) << "the enemy of the pattern is marked not a VIP";
    campaign.Picture("captive_pattern_not_vip");
    player.ClickItem("PatternWindow", "CloseButton.tga");
    player.WaitUntilClosed("PatternWindow");
    player.ClickItem("VornWindow", "SaveVorn");
    player.WaitFor("VornNameEditBox");
    // The box offers the Scout's own name.
    for (size_t i = 0; i < std::string("Scout").size(); ++i) player.TapKey(win::kKeyBackspace);
    player.Type(kRescuer);
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("VornNameEditBox");
    player.ClickItem("VornWindow", "CloseButton.tga");
    player.WaitUntilClosed("VornWindow");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", "Yes");
    campaign.WaitForTheMap("the map after the training grounds");
}

// Eight Rescuers, all the budget buys: they hunt the guards and never fire at the captive
// (the mission is lost the moment it falls).
inline void FreeTheCaptive(PlayerHarness& player, CampaignPlayer& campaign) {
    TeachAScoutToSpareVips(player, campaign);
    campaign.BriefTheNextEntry("captive_briefing_again");
    campaign.WinWith(std::vector<std::string>(8, kRescuer), "captive", "The enemy holds a captive");
    campaign.WaitForTheResult("WinningWindow", "The captive is free", "captive_won");
    campaign.BackToTheMapAfterTheWin("the captive");
}

// Eight Scouts, fast with the speed bought in the lesson, run the three marked units down
// well inside the time.
inline void WinTheHunt(CampaignPlayer& campaign) {
    campaign.BriefTheNextEntry("hunt_briefing");
    EXPECT_TRUE(CampaignPlayer::Says("Three marked Vorns")) << CampaignPlayer::Said();
    campaign.WinWith(std::vector<std::string>(8, "Scout"), "hunt", "Three marked Vorns");
    campaign.WaitForTheResult("WinningWindow", "The plans are ours", "hunt_won");
    campaign.BackToTheMapAfterTheWin("the hunt");
}

}  // namespace third_star

}  // namespace play_test
