// The mini-map in the training grounds: resting the pointer on a camera button tells what
// it does, and the tilted camera is outlined on the map as the ground it really sees. The
// map stays beside the paint tray, whose "Clear" asks before laying one ground everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "battlefield/MiniMap.h"
#include "core/Image.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

TEST(MiniMapTrainingTest, TheCameraButtonsTellWhatTheyDoAndTheTiltedViewIsOutlined) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    if (!player.IsOpen("MiniMap")) player.ClickEntry("WindowTray", "MiniMap");
    player.WaitFor("MiniMap");

    // The tip waits for the pointer to rest.
    player.MoveTo(player.ItemPoint("MiniMap", "OverheadCamera"));
    player.Frames(80);
    const Image tip = player.Picture();
    player.KeepPicture("minimap_overhead_tip");
    EXPECT_TRUE(player.ShowsText(tip, "Look from above"));
    // The last button's tip slides along the screen's right edge, a few pixels clear of it.
    player.MoveTo(player.ItemPoint("MiniMap", "ResetCamera"));
    player.Frames(80);
    const Image reset = player.Picture();
    player.KeepPicture("minimap_reset_tip");
    EXPECT_TRUE(player.ShowsTextRun(reset, "Reset the camera"));
    const auto& runs = player.TextsShown();
    const auto run = std::ranges::find(runs, std::string("Reset the camera"), &play_test::ShownText::text);
    ASSERT_NE(run, runs.end());
    EXPECT_LE(run->rect.right, 1023 - 3);

    player.Click(player.ItemPoint("MiniMap", "TiltedCamera"));
    player.MoveTo(player.WindowPoint("ArenaWindow", 0.4f, 0.6f));
    player.Frames(20);
    const Image tilted = player.Picture();
    player.KeepPicture("minimap_tilted_view");
    auto& map = dynamic_cast<MiniMap&>(player.OpenWindow("MiniMap"));
    EXPECT_TRUE(PlayerHarness::ShowsAScreen(tilted, "the mini-map", map.mapRect));
    // Seen at an angle the far edge of the view is wider than the near one.
    Vector2 corners[4];
    map.ViewOutline(corners);
    EXPECT_GT(corners[1].x - corners[0].x, corners[2].x - corners[3].x);

    // The paint tray, offered by the cheat word, keeps the map beside it; clearing the field
    // asks first, naming the ground it will lay.
    player.TapKey(win::kKeyReturn);
    player.Type("quab");
    player.TapKey(win::kKeyReturn);
    player.ClickEntry("WindowTray", "PaintTray");
    player.WaitFor("PaintTray");
    EXPECT_TRUE(player.IsOpen("MiniMap"));
    player.ClickEntry("PaintTray", "Lava");
    player.ClickEntry("PaintTray", "Clear");
    player.WaitFor("ConfirmClearTerrainMenu");
    player.Frames(10);
    const Image question = player.Picture();
    player.KeepPicture("paint_tray_clear_to_lava_question");
    EXPECT_TRUE(player.ShowsTextRun(question, "lava"));
    player.ClickItem("ConfirmClearTerrainMenu", "No");
    player.Frames(10);
    EXPECT_FALSE(player.IsOpen("ConfirmClearTerrainMenu"));
}

}  // namespace
