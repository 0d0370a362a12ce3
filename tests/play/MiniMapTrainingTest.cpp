// The mini-map in the training grounds: resting the pointer on a camera button tells what
// it does, and the tilted camera is outlined on the map as the ground it really sees.
#include <gtest/gtest.h>

#include <string>

#include "battlefield/MiniMap.h"
#include "core/Image.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

// A camera button below the map by its name ("TiltedCamera"), where it is drawn; the
// harness's finders do not look into the map's own button row.
Point CameraButtonPoint(PlayerHarness& player, const std::string& name) {
    auto* map = dynamic_cast<MiniMap*>(&player.OpenWindow("MiniMap"));
    SpriteGrid* buttons = map != nullptr ? map->cameraButtons : nullptr;
    for (int i = 0; buttons != nullptr && i < buttons->Count(); ++i) {
        if (buttons->IsShown(i) && name == buttons->names[i].CStr()) return buttons->sprites[i]->GetScreenCenter();
    }
    throw play_test::PlayerStepFailed("\"" + name + "\" is not shown below the mini-map");
}

TEST(MiniMapTrainingTest, TheCameraButtonsTellWhatTheyDoAndTheTiltedViewIsOutlined) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    if (!player.IsOpen("MiniMap")) player.ClickEntry("WindowTray", "MiniMap");
    player.WaitFor("MiniMap");

    // The tip waits for the pointer to rest.
    player.MoveTo(CameraButtonPoint(player, "OverheadCamera"));
    player.Frames(80);
    const Image tip = player.Picture();
    player.KeepPicture("minimap_overhead_tip");
    EXPECT_TRUE(player.ShowsText(tip, "Look from above"));

    player.Click(CameraButtonPoint(player, "TiltedCamera"));
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
}

}  // namespace
