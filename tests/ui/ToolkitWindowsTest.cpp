// A left release reaches the battlefield ahead of the windows over it only to end a drag
// that began on the battlefield; any other release goes to the window under the pointer.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/ToolkitWindows.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {

using ui_test::UiTest;

// The whole screen, counting the releases it takes ahead of the others and in its turn.
class StandInBattlefield final : public Window, public BattlefieldView {
public:
    StandInBattlefield() : Window("StandInBattlefield") { SetFullScreen(true); }
    bool IsOpen() const override { return open; }
    bool TakeDragRelease(const InputEvent&) override {
        ++previewed;
        return true;
    }
    void AimCamera(const Vector3&, const Vector3&) override {}
    void ReleaseCameraKeys() override {}
    bool HandleMouse(const InputEvent& input) override {
        if (input.IsKeyUp(kInputButtonLeft)) ++released;
        return input.IsKeyUp(kInputButtonLeft) || input.IsKeyDown(kInputButtonLeft);
    }
    int previewed = 0;
    int released = 0;
};

// A tray over the battlefield that takes the presses and releases on it.
class StandInTray final : public Window {
public:
    StandInTray() : Window("StandInTray") { SetRectValues(800, 600, 999, 699); }
    bool HandleMouse(const InputEvent& input) override {
        if (input.IsKeyUp(kInputButtonLeft)) ++released;
        return input.IsKeyUp(kInputButtonLeft) || input.IsKeyDown(kInputButtonLeft);
    }
    int released = 0;
};

class ToolkitWindowsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        GetToolkitWindows().SetBattlefieldView(&battlefield);
        WindowManager& manager = GetWindowManager();
        manager.OpenWindow(&battlefield);
        manager.OpenWindow(&tray);
        manager.BringToFront(&tray);
        manager.RemoveFromFocusOrder(&tray);
    }
    void TearDown() override {
        GetToolkitWindows().SetBattlefieldView(nullptr);
        UiTest::TearDown();
    }
    StandInBattlefield battlefield;
    StandInTray tray;
};

TEST_F(ToolkitWindowsTest, OnlyADragBegunOnTheBattlefieldEndsThereOverAnotherWindow) {
    // Pressed on the battlefield, let go over the tray: the battlefield's drag ends.
    Press(300, 300);
    Release(900, 650);
    EXPECT_EQ(battlefield.previewed, 1);
    EXPECT_EQ(tray.released, 0);
    // A click on the tray is the tray's, and a release with no press before it is the
    // window's under the pointer.
    Click(900, 650);
    Release(900, 650);
    EXPECT_EQ(battlefield.previewed, 1);
    EXPECT_EQ(tray.released, 2);
    Release(300, 300);
    EXPECT_EQ(battlefield.previewed, 1);
    EXPECT_EQ(battlefield.released, 1);
}

TEST_F(ToolkitWindowsTest, AClosedBattlefieldTakesNoRelease) {
    GetWindowManager().CloseWindow(&battlefield);
    Press(300, 300);
    Click(900, 650);
    EXPECT_EQ(battlefield.previewed, 0);
    EXPECT_EQ(tray.released, 1);
}

}  // namespace
