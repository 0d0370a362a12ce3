// The player's figure on the customise screen a new profile reaches: standing idle on
// its spot, it moves from frame to frame by its own animation, not by turning. An
// upgrade the player cannot pay for says so on the boosts line.
#include <gtest/gtest.h>

#include "FigurePictures.h"
#include "core/Image.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "modes/UpgradeWindow.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PixelsChanged;
using play_test::PlayerHarness;

TEST(PlayerFigurePlayTest, OnTheCustomiseScreenTheIdleFigurePlaysItsAnimation) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.TakeTheCampaignMapTour();
    player.Open("GameMenu", "Customization", "UpgradeWindow");
    player.Frames(10);
    const IntRect box = dynamic_cast<const UpgradeWindow&>(player.OpenWindow("UpgradeWindow")).figureRect;
    const PlayerFigure& figure = GetPlayerFigure(GetLocalPlayer());
    ASSERT_EQ(figure.pose, PlayerFigure::kIdle);
    const float heading = figure.heading;
    const Image first = player.Picture();
    player.KeepPicture("figure_customise_first");
    // Some frames later the figure's box differs; an animation that came back to the
    // same pose is given a few more looks.
    int changed = 0;
    for (int look = 0; look < 10 && changed <= 200; ++look) {
        player.Frames(10);
        changed = PixelsChanged(first, player.Picture(), box);
    }
    player.KeepPicture("figure_customise_later");
    EXPECT_GT(changed, 200);
    EXPECT_EQ(figure.heading, heading) << "the figure turns instead of playing its animation";

    // With no boosts to spend, a click on an upgrade is refused where the player looks:
    // the boosts line turns from white.
    const auto boostsLine = [&player] {
        for (const play_test::ShownText& run : player.TextsShown()) {
            if (run.text == "0 boosts") return run.colour;
        }
        ADD_FAILURE() << "no boosts line";
        return Color();
    };
    const Color white(0xFFFFFFFF);
    EXPECT_EQ(boostsLine(), white);
    player.Click(player.ItemPoint("UpgradeWindow", "UpgradeSpeedSmallButton.tga"));
    EXPECT_NE(boostsLine(), white);
    player.KeepPicture("customise_refused_upgrade");
}

}  // namespace
