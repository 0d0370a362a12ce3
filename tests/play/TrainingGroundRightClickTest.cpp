// A right click on the ground of the training grounds, just beside a unit dropped there a
// moment before, is a click on the field: it never asks whether to leave the grounds.
#include <gtest/gtest.h>

#include <string>

#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

TEST(TrainingGroundRightClickTest, ARightClickBesideAFreshUnitDoesNotAskToLeave) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    const Point dropped(500, 380);
    for (const Point& beside : {Point(535, 380), Point(500, 415), Point(470, 360)}) {
        player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), dropped);
        player.RightClick(beside);
        player.Frames(30);
        EXPECT_FALSE(player.IsOpen("ConfirmEscapeMenu"))
            << "asked to leave after a right click at " << beside.x << ", " << beside.y;
        player.KeepPicture("training_right_click_beside_" + std::to_string(beside.x));
        if (player.IsOpen("ConfirmEscapeMenu")) player.ClickItem("ConfirmEscapeMenu", "No");
        player.Click(Point(700, 250));
        player.Frames(10);
    }
    EXPECT_EQ(player.Mode(), "TrainingGame");
}

}  // namespace
