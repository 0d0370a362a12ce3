// The mini-map in the training grounds: resting the pointer on a camera button tells what
// it does, and the tilted camera is outlined on the map as the ground it really sees. The
// map stays beside the paint tray, whose "Clear" asks before laying one ground everywhere.
// The brush paints only where a press began on the field, and the grounds left with the
// field grown to the largest show their own field at once when entered again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "battlefield/ArenaWindow.h"
#include "battlefield/MiniMap.h"
#include "core/Image.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"
#include "world/Terrain.h"

namespace {

using play_test::PlayerHarness;

TEST(MiniMapTrainingTest,
     TheCameraButtonsTellWhatTheyDoThePaintTrayPaintsOnlyStrokesOnTheFieldAndTheGroundsShowAtOnce) {
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

    // Grass with the tiny brush over a field of lava. Whatever came before, pressing the
    // tray's X and the window tray's button that brings it back, each held a few frames,
    // paints nothing: only a press on the field begins a stroke, and every release ends it.
    player.ClickEntry("PaintTray", "TinyBrush");
    const auto ground = [] {
        std::vector<int> types;
        const Terrain& terrain = gArena->GetTerrain();
        for (int32_t j = 0; j < terrain.Height(); ++j) {
            for (int32_t i = 0; i < terrain.Width(); ++i) types.push_back(terrain.CellAt(i, j).type);
        }
        return types;
    };
    const Point field(420, 420);
    // Inside the mini-map's frame, off its map: the mini-map passes such a press on.
    const Point frame(map.left - 2, (map.mapRect.top + map.mapRect.bottom) / 2);
    ASSERT_EQ(GetWindowManager().WindowAt(frame), &map);
    ASSERT_FALSE(map.IsOnMap(frame));
    const auto pressHoldRelease = [&](const Point& at) {
        player.Press(at);
        player.Frames(3);
        player.Release(at);
    };
    const std::vector<std::pair<std::string, std::function<void()>>> orders = {
        {"nothing", [] {}},
        {"a click on the mini-map's frame", [&] { player.Click(frame); }},
        {"a stroke let go over the mini-map", [&] { player.Drag(field, player.WindowPoint("MiniMap", 0.5f, 0.5f)); }},
        {"a stroke let go over the paint tray",
         [&] {
             player.Press(field);
             const std::vector<int> dab = ground();
             player.MoveTo(player.WindowPoint("PaintTray"));
             player.Frames(3);
             EXPECT_EQ(ground(), dab) << "the stroke painted the field under the tray";
             player.Release(player.WindowPoint("PaintTray"));
         }},
        {"a stroke held while Ctrl+X closes the tray",
         [&] {
             player.Press(field);
             player.MoveTo(player.WindowPoint("PaintTray"));
             player.Chord({win::kKeyControl, 'X'});
             player.Release(field);
         }},
    };
    for (const auto& [what, order] : orders) {
        // Each order on a field of lava again, so that no earlier dab hides a new one.
        player.ClickEntry("PaintTray", "Lava");
        player.ClickEntry("PaintTray", "Clear");
        player.ClickItem("ConfirmClearTerrainMenu", "Yes");
        player.WaitUntilClosed("ConfirmClearTerrainMenu");
        EXPECT_EQ(std::ranges::count(ground(), int(kTerrainLava)), 16 * 16);
        player.ClickEntry("PaintTray", "Grass");
        order();
        const std::vector<int> before = ground();
        player.MoveTo(Point(300, 300));
        player.Frames(3);
        if (player.IsOpen("PaintTray")) pressHoldRelease(player.ItemPoint("PaintTray", "CloseButton.tga"));
        player.WaitUntilClosed("PaintTray");
        pressHoldRelease(player.EntryPoint("WindowTray", "PaintTray"));
        player.WaitFor("PaintTray");
        player.MoveTo(Point(600, 350));
        player.Frames(3);
        EXPECT_EQ(ground(), before) << "the field was painted after " << what;
    }
    player.KeepPicture("paint_tray_only_strokes_on_the_field");

    // Grown to the largest field and left: the grounds entered again are drawn at once,
    // the camera on their own field.
    for (int grown = 0; grown < 40 && gArena->GetTerrain().Width() < 64; ++grown)
        player.ClickEntry("PaintTray", "Grow");
    ASSERT_EQ(gArena->GetTerrain().Width(), 64);
    player.TapKey(win::kKeyEscape);
    if (!player.IsOpen("ConfirmEscapeMenu")) player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", "Yes");
    player.WaitFor("MissionMapWindow");
    player.Open("MissionMapWindow", "TrainingGroundsButton.tga", "WindowTray");
    player.Frames(30);
    ASSERT_EQ(gArena->GetTerrain().Width(), 16);
    for (const Vector3& point : {GetArenaWindow().CurrentCamera().target, GetArenaWindow().CurrentCamera().lookAt}) {
        EXPECT_TRUE(point.x >= 0.0f && point.x < 160.0f && point.y >= 0.0f && point.y < 160.0f)
            << point.x << ", " << point.y;
    }
    const Image grounds = player.Picture();
    player.KeepPicture(grounds, "training_grounds_after_the_largest_field");
    // The middle of the screen, clear of every tray, shows the grass, not black.
    int dark = 0;
    for (int y = 334; y < 434 && !grounds.IsEmpty(); ++y) {
        for (int x = 412; x < 612; ++x) {
            const Color c = grounds.At(x, y);
            if (c.Red() + c.Green() + c.Blue() < 30) ++dark;
        }
    }
    EXPECT_LT(dark, 200 * 100 / 10) << "the grounds' field is drawn black";
}

}  // namespace
