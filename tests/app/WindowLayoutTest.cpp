// The in-game layout on a 1024 x 768 screen, with only some of the windows present.
#include <gtest/gtest.h>

#include "app/WindowLayout.h"
#include "ui/Window.h"

namespace {

TEST(WindowLayoutTest, PlacesThePresentWindowsAgainstTheirEdgesAndSkipsTheMissingOnes) {
    Window launch("LaunchSquadTray");
    launch.SetRectValues(0, 0, 199, 99);
    Window tray("WindowTray");
    tray.SetRectValues(0, 0, 99, 49);
    Window map("MiniMap");
    map.SetRectValues(0, 0, 149, 149);
    Window units("VornTray");
    units.SetRectValues(0, 0, 299, 79);
    Window kills("KillTray");
    kills.SetRectValues(0, 0, 299, 59);
    LayOutGameWindows();
    EXPECT_EQ(launch.top, 128);
    EXPECT_EQ(launch.left, 768 - launch.Width() / 2);
    // Against the right edge, the mini-map 36 below the window tray.
    EXPECT_GT(tray.right, 1000);
    EXPECT_EQ(map.top, tray.bottom + 36);
    EXPECT_GT(units.bottom, 740);
    EXPECT_EQ(kills.top, units.top - 37 - kills.Height());
}

}  // namespace
