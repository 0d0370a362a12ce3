// The window tray: which buttons a game shows, and a button that opens and closes its
// window unless the allowed list leaves it out.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"

namespace {

using ui_test::UiTest;

class WindowTrayTest : public UiTest {};

TEST_F(WindowTrayTest, ANetworkGameShowsItsFourButtonsAndEachTogglesItsWindow) {
    Window miniMap("MiniMap"), control("ControlTray"), objects("ObjectTray"), scores("Scoreboard");
    WindowTray& tray = GetWindowTray();
    tray.windows.Clear();
    tray.AddWindow(&miniMap);
    tray.AddWindow(&control);
    tray.AddWindow(&objects);
    tray.AddWindow(&scores);
    game.modeName = "NetworkGame";
    tray.Refresh();
    // Entries 0 and 1 are shown in a network game; entry 2 (objects) is not, and entry
    // 3 here stands where the unit tray would: hidden too.
    EXPECT_EQ(tray.shownCount, 2);
    tray.PostEventString(kEventPickTrayEntry, "minimap");
    game.DispatchEvents();
    EXPECT_TRUE(miniMap.open);
    EXPECT_GT(game.zoomTimeLeft, 0.0f);  // the panel fades from the button to the window
    tray.PostEventString(kEventPickTrayEntry, "MiniMap");
    game.DispatchEvents();
    EXPECT_FALSE(miniMap.open);
    tray.allowed.Append(&miniMap);
    tray.PostEventString(kEventPickTrayEntry, "ControlTray");
    game.DispatchEvents();
    EXPECT_FALSE(control.open);
    tray.allowed.Clear();
    tray.windows.Clear();
}

}  // namespace
