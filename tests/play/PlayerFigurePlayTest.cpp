// The player's figure on the customise screen a new profile reaches: standing idle on
// its spot, it moves from frame to frame by its own animation, not by turning.
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
}

}  // namespace
