// The in-game layout on a 1024 x 768 screen, with only some of the windows present.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/WindowLayout.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {

// The layout finds windows by name: a window of that name made earlier in this program (a
// start-up test makes them all) is used, else one is made for the test.
class PresentWindows {
public:
    Window& Sized(const char* name, int32_t width, int32_t height) {
        Window* window = GetWindowManager().FindWindowByName(String(name));
        if (window == nullptr) {
            made_.push_back(std::make_unique<Window>(name));
            window = made_.back().get();
        }
        window->SetRectValues(0, 0, width - 1, height - 1);
        return *window;
    }

private:
    std::vector<std::unique_ptr<Window>> made_;
};

TEST(WindowLayoutTest, PlacesThePresentWindowsAgainstTheirEdgesAndSkipsTheMissingOnes) {
    PresentWindows windows;
    Window& launch = windows.Sized("LaunchSquadTray", 200, 100);
    Window& tray = windows.Sized("WindowTray", 100, 50);
    Window& map = windows.Sized("MiniMap", 150, 150);
    Window& units = windows.Sized("VornTray", 300, 80);
    Window& kills = windows.Sized("KillTray", 300, 60);
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
