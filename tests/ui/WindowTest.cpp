// Windows driven through the real input path: drags, the close button, Ctrl+X, the
// capture and the order in which the manager offers input.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/window/Keys.h"
#include "ui/Scoreboard.h"
#include "ui/TextBox.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"
#include "ui/WindowManager.h"

namespace {

using ui_test::UiTest;

// A window that answers the input it is given as told and counts what reached it.
class ProbeWindow : public Window {
public:
    explicit ProbeWindow(const char* windowName, bool consumes = true) : Window(windowName), consumes_(consumes) {}
    bool HandleMouse(const InputEvent& input) override {
        if (Window::HandleMouse(input)) return true;
        if (input.kind == kInputDown) {
            ++presses;
            if (postsOnPress) PostEvent(kEventReset);
        }
        return input.kind == kInputDown && consumes_;
    }
    void HandleCommand(Event& event) override {
        if (event.type == kEventReset) pressesSeenByCommand = presses;
        Window::HandleCommand(event);
    }
    void Refresh() override { ++refreshes; }
    void OnOpen() override { ++opens; }
    int presses = 0;
    int refreshes = 0;
    int opens = 0;
    int pressesSeenByCommand = -1;
    bool postsOnPress = false;

private:
    bool consumes_;
};

class WindowTest : public UiTest {};

TEST_F(WindowTest, DraggingTheTopBandMovesTheWindowAndStopsAtTheScreenEdge) {
    ProbeWindow window("Dragged");
    window.SetRectValues(100, 100, 299, 199);
    GetWindowManager().OpenWindow(&window);
    MovePointer(150, 95);
    Press(150, 95);  // in the band above the rectangle
    EXPECT_EQ(window.dragMode, Window::kDragMoving);
    EXPECT_TRUE(GetWindowManager().IsCapturingMouse(&window));
    MovePointer(180, 115);  // the frame's tick moves by the pointer's step
    EXPECT_EQ(window.GetTopLeft(), Point(130, 120));
    // Far past the left and top edges: x stops at border + 4, y at margin 4 + border on
    // a 768-line screen... which is a small screen (below 769 lines), so the margin is 1.
    MovePointer(-500, -500);
    EXPECT_EQ(window.left, 14 + 4);
    EXPECT_EQ(window.top, 1 + 14);
    Release(-500, -500);
    EXPECT_EQ(window.dragMode, Window::kDragNone);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&window));
    EXPECT_EQ(window.Width(), 199);
    std::vector<int32_t> types;
    for (int32_t type : game.Types()) {
        if (types.empty() || type != kEventMoveWindow || types.back() != kEventMoveWindow) types.push_back(type);
    }
    ASSERT_GE(types.size(), 3u);
    EXPECT_EQ(types.front(), kEventBeginMoveWindow);
    EXPECT_EQ(types.back(), kEventEndMoveWindow);
}

TEST_F(WindowTest, TheCloseButtonClosesOnlyWhenReleasedOverIt) {
    ProbeWindow window("Closable");
    window.closeButton = true;
    window.SetRectValues(300, 300, 499, 399);
    GetWindowManager().OpenWindow(&window);
    window.UpdateLayout();
    // The close button's centre: (right + border / 2, top + 1 - border / 2).
    const Point close(499 + 7, 300 + 1 - 7);
    Press(close.x, close.y);
    EXPECT_TRUE(GetWindowManager().IsCapturingMouse(&window));
    Release(400, 350);
    EXPECT_TRUE(window.open);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&window));
    Click(close.x, close.y);
    EXPECT_FALSE(window.open);
    EXPECT_EQ(game.Types().back(), kEventCloseWindow);
}

// A window that puts a button bar of its own in place of the grid the close button was
// made in.
class OwnGridWindow : public ProbeWindow {
public:
    OwnGridWindow() : ProbeWindow("OwnGrid") {}
    void CreateResources() override {
        controls = GetRenderer().CreateSpriteGrid();
        controls->SetLayoutMode(SpriteGrid::kLayoutFree);
        Sprite* first = GetRenderer().CreateSprite(40, 40, String(), Sprite::kAnchorCentre);
        first->x = 200;
        first->y = 200;
        controls->AddItem(first, String(), true);
    }
};

TEST_F(WindowTest, AWindowsOwnButtonGridKeepsItsFirstButton) {
    OwnGridWindow window;
    window.closeButton = true;
    window.SetRectValues(100, 100, 299, 299);
    GetWindowManager().OpenWindow(&window);
    window.Render();
    ASSERT_NE(window.controls->sprites[0], window.closeSprite);
    // Its first button is a button, not the close button.
    Click(200, 200);
    EXPECT_TRUE(window.open);
    window.fullScreen = true;
    window.UpdateLayout();
    EXPECT_TRUE(window.controls->IsShown(0));
}

TEST_F(WindowTest, TheScoreboardGrowingARowStaysOnTheScreenWithItsColumns) {
    Player first, second;
    first.name = "Tester";
    second.name = "AI";
    Array<Player*>& players = GetPlayerRoster().networkPlayers;
    players.Clear();
    players.Append(&first);
    Scoreboard& board = GetScoreboard();
    board.Refresh();
    board.MoveTo(Point(300, 768));  // against the bottom edge
    const int32_t lowest = board.bottom;
    players.Append(&second);  // a player joins after the table was placed
    board.Refresh();
    players.Clear();
    EXPECT_EQ(board.bottom, lowest);
    EXPECT_EQ(board.columnX[0], board.left);
}

TEST_F(WindowTest, ControlXClosesOnlyWindowsWithACloseButton) {
    ProbeWindow plain("Plain");
    plain.SetRectValues(100, 100, 199, 199);
    GetWindowManager().OpenWindow(&plain);
    MovePointer(150, 150);
    TapKey('X');
    EXPECT_TRUE(plain.open);
    scripted->PressKey(win::kKeyControl);
    TapKey('X');
    EXPECT_TRUE(plain.open);
    plain.closeButton = true;
    TapKey('X');
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    EXPECT_FALSE(plain.open);
}

TEST_F(WindowTest, FullScreenDropsTheFrameAndRestoresTheFirstSavedRectangle) {
    ProbeWindow window("Full");
    window.closeButton = true;
    window.SetRectValues(40, 50, 140, 150);
    window.EnsureResources();
    window.SetFullScreen(true);
    window.SetFullScreen(true);
    EXPECT_EQ(window.Rect(), IntRect(0, 0, 1023, 767));
    EXPECT_FALSE(window.frameShown);
    EXPECT_FALSE(window.ContainsPoint(Point(1024, 10)));  // no border band around it
    window.SetFullScreen(false);
    EXPECT_EQ(window.Rect(), IntRect(40, 50, 140, 150));
    EXPECT_TRUE(window.frameShown);
    EXPECT_TRUE(window.ContainsPoint(Point(40 - 11, 50)));  // border - 3 around it
    EXPECT_FALSE(window.ContainsPoint(Point(40 - 12, 50)));
    // Edge images repeat an odd number of times: 14 pixels give 3, 13 give 1.
    EXPECT_EQ(WindowFrame::RepeatCount(14), 3);
    EXPECT_EQ(WindowFrame::RepeatCount(13), 1);
}

TEST_F(WindowTest, AnOpenTextBoxKeepsOtherWindowsBelowIt) {
    TextBox box;
    box.SetRectValues(100, 20, 700, 120);
    GetWindowManager().OpenWindow(&box);
    ProbeWindow window("Below");
    window.SetRectValues(100, 300, 199, 399);
    window.MoveTo(Point(100, 0));
    // TextBox bottom 120 - 4 + border 14, one less on a small screen, plus margin and border.
    EXPECT_EQ(window.top, 1 + 14 + (120 - 4 + 14 - 1));
}

class WindowManagerInputTest : public UiTest {};

TEST_F(WindowManagerInputTest, OpensOnceClosesKeepingTheOrderAndDropsTheCapture) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow a("A"), b("B"), c("C");
    manager.OpenWindow(&a);
    manager.OpenWindow(&b);
    manager.OpenWindow(&c);
    manager.OpenWindow(&a);  // already open: stays where it is, but is told again
    EXPECT_EQ(a.opens, 2);
    ASSERT_EQ(manager.OpenWindows().Count(), 3);
    manager.BringToFront(&b);
    EXPECT_EQ(manager.TopWindow(), &b);
    manager.CloseWindow(&b);
    EXPECT_FALSE(manager.IsCapturingMouse(&b));
    EXPECT_FALSE(b.open);
    ASSERT_EQ(manager.OpenWindows().Count(), 2);
    EXPECT_EQ(manager.OpenWindows()[0], &a);
    EXPECT_EQ(manager.OpenWindows()[1], &c);
    manager.CloseWindow(&b);
    manager.CloseWindow(nullptr);
    EXPECT_EQ(manager.FindWindowByName("c"), &c);
    manager.NotifyAll();
    EXPECT_EQ(b.refreshes, 1);  // closed windows refresh too
}

TEST_F(WindowManagerInputTest, TheUpperWindowGetsAPressFirstAndADeclinedPressGoesOn) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow lower("Lower", true), upper("Upper", false);
    lower.SetRectValues(100, 100, 299, 299);
    upper.SetRectValues(150, 150, 349, 349);
    manager.OpenWindow(&lower);
    manager.OpenWindow(&upper);
    Click(200, 200);
    EXPECT_EQ(upper.presses, 1);
    EXPECT_EQ(lower.presses, 1);
    EXPECT_EQ(manager.TopWindow(), &lower);  // the one that took it came up
}

TEST_F(WindowManagerInputTest, ACapturingWindowTakesClicksOutsideItUnlessItPassesInput) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow under("Under"), modal("Modal", false);
    under.SetRectValues(100, 100, 299, 299);
    modal.SetRectValues(600, 100, 699, 199);
    manager.OpenWindow(&under);
    manager.OpenWindow(&modal);
    manager.BringToFront(&modal);
    Click(200, 200);
    EXPECT_EQ(modal.presses, 1);
    EXPECT_EQ(under.presses, 0);
    EXPECT_EQ(manager.WindowAt(Point(200, 200)), &modal);
    modal.passesInput = true;
    Click(200, 200);
    EXPECT_EQ(under.presses, 1);
    EXPECT_EQ(manager.WindowAt(Point(200, 200)), &under);
    EXPECT_EQ(manager.WindowAt(Point(900, 700)), nullptr);
}

TEST_F(WindowManagerInputTest, AnEventPostedOnInputIsHandledBeforeTheNextInput) {
    ProbeWindow window("Poster");
    window.postsOnPress = true;
    window.SetRectValues(100, 100, 299, 299);
    GetWindowManager().OpenWindow(&window);
    scripted->MovePointer(200, 200);
    scripted->PressButton(win::MouseButton::Left);
    scripted->ReleaseButton(win::MouseButton::Left);
    scripted->PressButton(win::MouseButton::Left);
    Frame();
    EXPECT_EQ(window.presses, 2);
    EXPECT_EQ(window.pressesSeenByCommand, 2);
    EXPECT_EQ(game.Types(), (std::vector<int32_t>{kEventReset, kEventReset}));
}

TEST_F(WindowManagerInputTest, FocusFollowsTheCaptureElseThePointerAndHoverRaisesNothingOffWindows) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow a("A"), b("B");
    a.SetRectValues(100, 100, 299, 299);
    b.SetRectValues(500, 100, 699, 299);
    manager.OpenWindow(&a);
    manager.OpenWindow(&b);
    MovePointer(200, 200);
    EXPECT_EQ(manager.FocusWindow(), &a);
    EXPECT_EQ(a.frame.colour, WindowFrame::kHighlightColour);
    EXPECT_EQ(manager.TopWindow(), &a);
    manager.BringToFront(&b);
    MovePointer(200, 200);
    EXPECT_EQ(manager.FocusWindow(), &b);
    EXPECT_EQ(a.frame.colour, WindowFrame::kNormalColour);
    manager.RemoveFromFocusOrder(&b);
    MovePointer(900, 700);
    EXPECT_EQ(manager.FocusWindow(), &b);  // no window there: the focus stays
    EXPECT_EQ(manager.TopWindow(), &b);
}

TEST_F(WindowManagerInputTest, ReturningToThePreviousScreenClosesEverythingElse) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow menu("Menu"), screen("Screen"), popUp("PopUp");
    manager.OpenWindow(&menu);
    manager.PushReturnWindow(&menu);
    manager.CloseAllWindows();
    manager.OpenWindow(&screen);
    manager.OpenWindow(&popUp);
    manager.BringToFront(&popUp);
    manager.ReturnToPreviousWindow();
    ASSERT_EQ(manager.OpenWindows().Count(), 1);
    EXPECT_EQ(manager.OpenWindows()[0], &menu);
    EXPECT_TRUE(manager.CaptureList().IsEmpty());
    EXPECT_EQ(menu.opens, 2);
    manager.ReturnToPreviousWindow();  // an empty stack changes nothing
    EXPECT_TRUE(menu.open);
}

}  // namespace

namespace {

// After the shutdown's release a window holds nothing of the old renderer and remakes its
// resources on its next opening; it stays registered for a later start-up.
TEST_F(WindowManagerInputTest, DestroyingAllWindowsClosesThemAndDropsTheirRendererResources) {
    WindowManager& manager = GetWindowManager();
    ProbeWindow a("A"), b("B");
    manager.OpenWindow(&a);
    manager.OpenWindow(&b);
    manager.PushReturnWindow(&a);
    manager.SetFocusWindow(&b);
    ASSERT_TRUE(a.HasResources());
    manager.DestroyAllWindows();
    EXPECT_TRUE(manager.OpenWindows().IsEmpty());
    EXPECT_TRUE(manager.ReturnStack().IsEmpty());
    EXPECT_EQ(manager.FocusWindow(), nullptr);
    EXPECT_FALSE(a.open);
    EXPECT_FALSE(a.HasResources());
    EXPECT_EQ(a.controls, nullptr);
    EXPECT_EQ(a.frame.pieces[0], nullptr);
    EXPECT_EQ(manager.FindWindowByName("A"), &a);
    manager.OpenWindow(&a);
    EXPECT_TRUE(a.HasResources());
    EXPECT_NE(a.controls, nullptr);
}

}  // namespace
