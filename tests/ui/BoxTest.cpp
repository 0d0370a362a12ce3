// The error box's continue, sliders stepped by keys and dragged, edit boxes typed into,
// the tool tip's delay and the highlighter's dots.
#include <gtest/gtest.h>

#include <cmath>

#include "UiTestSupport.h"
#include "app/ScreenTexts.h"
#include "engine/Mouse.h"
#include "platform/window/Keys.h"
#include "ui/EditBox.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/ScreenTextQueue.h"
#include "ui/ServerIPEditBox.h"
#include "ui/Slider.h"
#include "ui/TextBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

using ui_test::UiTest;

class BoxTest : public UiTest {};

TEST_F(BoxTest, TheErrorBoxContinuesOnlyAfterASpacePressAndPrefersTheNextWindow) {
    ErrorBox& box = GetErrorBox();
    Window next("Next");
    Window previous("Previous");
    WindowManager& manager = GetWindowManager();
    manager.PushReturnWindow(&previous);
    box.AddLine("Something went wrong");
    box.WrapText();
    box.returnToPrevious = true;
    box.nextWindow = &next;
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    EXPECT_EQ(box.GetCenter(), Point(512, 384));
    scripted->ReleaseKey(win::kKeySpace);  // a release alone does nothing
    Frame();
    EXPECT_TRUE(box.open);
    TapKey(win::kKeySpace);
    EXPECT_FALSE(box.open);
    EXPECT_TRUE(next.open);
    EXPECT_FALSE(previous.open);  // the next window wins over going back
    EXPECT_EQ(box.nextWindow, nullptr);
    EXPECT_FALSE(box.returnToPrevious);
    manager.ReturnToPreviousWindow();
}

TEST_F(BoxTest, AWaitingTextBoxLetsOtherClicksThroughAndGoesOnWithSpace) {
    WindowManager& manager = GetWindowManager();
    TextBox box;
    box.SetRectValues(100, 20, 700, 120);
    box.waitForContinue = true;
    Window below("Below");
    below.closeButton = true;
    below.SetRectValues(100, 300, 299, 399);
    manager.OpenWindow(&below);
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    below.UpdateLayout();
    Click(299 + 7, 300 + 1 - 7);  // the other window's close button still works
    EXPECT_FALSE(below.open);
    TapKey(win::kKeySpace);
    EXPECT_EQ(game.Types().back(), kEventContinueTextBox);
    EXPECT_FALSE(manager.IsCapturingMouse(&box));
    EXPECT_TRUE(box.open);
}

class TestSlider : public Slider {
public:
    TestSlider() {
        Initialize();
        MoveTo(Point(100, 100));
    }
};

TEST_F(BoxTest, HeldArrowsStepTheSliderAndItNeverPassesItsEnds) {
    TestSlider slider;
    slider.SetRange(0.0f, 256.0f);
    slider.SetValue(250.0f);
    GetWindowManager().OpenWindow(&slider);
    MovePointer(150, 104);
    scripted->PressKey(win::kKeyRight);
    Frame();
    EXPECT_FLOAT_EQ(slider.value, 251.0f);  // one step is the range over 256 pixels
    EXPECT_TRUE(GetWindowManager().IsCapturingMouse(&slider));
    for (int i = 0; i < 60; ++i) Frame();  // held: repeats every 0.1 s
    EXPECT_FLOAT_EQ(slider.value, 256.0f);
    scripted->ReleaseKey(win::kKeyRight);
    Frame();
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&slider));
    // A click sets the value by the point on the track, whose screen rectangle spans
    // 257 pixels from x 100: 64 of them.
    Click(164, 104);
    EXPECT_NEAR(slider.value, 256.0f * 64.0f / 257.0f, 1e-3f);
    EXPECT_EQ(slider.HandleCentre().x, 100 + 6 + int((256 - 12 + 1) * slider.value / 256.0f));
}

TEST_F(BoxTest, AnEmptyRangeKeepsTheSliderAtItsMinimum) {
    TestSlider slider;
    slider.SetRange(5.0f, 5.0f);
    slider.SetValue(9.0f);
    EXPECT_FLOAT_EQ(slider.value, 5.0f);
    EXPECT_EQ(slider.HandleCentre().x, slider.BodyRect().left + Slider::kHandleWidth / 2);
}

// Accepts whatever is typed; records what accepting and cancelling saw.
class NameBox : public EditBox {
public:
    NameBox() : EditBox("NameBox", "Name?") { Initialize(); }
    void Accept() override { accepted = text; }
    void Cancel() override { ++cancels; }
    String accepted;
    int cancels = 0;
};

TEST_F(BoxTest, TypingEditsAtTheCaretAndRefusesWhatIsNotAllowed) {
    NameBox box;
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    MovePointer(box.left + 10, box.top + 5);
    Type("Rovr");
    EXPECT_EQ(box.text, "Rovr");
    TapKey(win::kKeyLeft);
    Type("e");
    EXPECT_EQ(box.text, "Rover");
    EXPECT_EQ(box.caret, 4);
    TakeSounds();
    Type(" ");  // a blank is not allowed
    TapKey(win::kKeyUp);
    EXPECT_EQ(box.text, "Rover");
    EXPECT_EQ(TakeSounds().size(), 2u);
    TapKey(win::kKeyHome);
    TapKey(win::kKeyBackspace);  // nothing before the caret
    TapKey(win::kKeyDelete);
    EXPECT_EQ(box.text, "over");
    // A click on the text line puts the caret under the pointer: 8-pixel glyphs at 0.75.
    Click(box.left + 13, box.top + 2);
    EXPECT_EQ(box.caret, 2);
    TapKey(win::kKeyReturn);
    EXPECT_EQ(box.accepted, "over");
    EXPECT_FALSE(box.open);
}

TEST_F(BoxTest, TheBoxIsFullWhenOneMoreLetterWouldNotFitAndEmptyEnterCancels) {
    NameBox box;
    GetWindowManager().OpenWindow(&box);
    MovePointer(box.left + 10, box.top + 5);
    TapKey(win::kKeyReturn);
    EXPECT_EQ(box.cancels, 1);
    GetWindowManager().OpenWindow(&box);
    // 385 pixels of room; 6 pixels a letter: 63 letters fill 378, one more "a" needs 384.
    for (int i = 0; i < 70; ++i) Type("a");
    EXPECT_EQ(box.Count(), 63);
}

// A box that starts with a text and takes only texts that start with "ok".
class PickyBox : public NameBox {
public:
    void OnOpen() override {
        text = "Start";
        EditBox::OnOpen();
    }
    String Rejection(const String& whole) const override {
        return whole.Left(2) == "ok"
                   ? String()
                   : String("Only a text that starts with the two letters o and k will do in this box");
    }
};

TEST_F(BoxTest, ASelectedStartIsReplacedByTypingAndARejectedTextKeepsTheBoxOpen) {
    PickyBox box;
    GetWindowManager().OpenWindow(&box);
    const int32_t height = box.bottom - box.top;
    MovePointer(box.left + 10, box.top + 5);
    Type("no");
    EXPECT_EQ(box.text, "no");
    TapKey(win::kKeyReturn);
    EXPECT_TRUE(box.open);
    EXPECT_EQ(box.accepted, "");
    // The reason stands in the box, grown by its lines (6-pixel glyphs, 368 pixels a
    // line), until the next key.
    EXPECT_EQ(box.Complaint().Count(), 2);
    EXPECT_EQ(box.bottom - box.top, height + 2 * 12);
    TapKey(win::kKeyHome);
    TapKey(win::kKeyDelete);
    EXPECT_EQ(box.Complaint().Count(), 0);
    EXPECT_EQ(box.bottom - box.top, height);
    TapKey(win::kKeyDelete);
    Type("ok");
    TapKey(win::kKeyReturn);
    EXPECT_EQ(box.accepted, "ok");
    // Backspace on the selected start empties it; an arrow keeps it and ends the selection.
    GetWindowManager().OpenWindow(&box);
    TapKey(win::kKeyBackspace);
    EXPECT_EQ(box.text, "");
    GetWindowManager().OpenWindow(&box);
    TapKey(win::kKeyLeft);
    Type("x");
    EXPECT_EQ(box.text, "Starxt");
    for (const char* good : {"10.0.0.5", "255.255.255.255", "localhost", "game-host.example.org", "a1.b2"}) {
        EXPECT_TRUE(ServerIPEditBox::IsWellFormed(good)) << good;
    }
    for (const char* bad :
         {"127.0.0.110.0.0.5", "10.0.0", "10.0.0.256", "1.2.3.0004", "host..name", "-host", "host-", ".", "name.5"}) {
        EXPECT_FALSE(ServerIPEditBox::IsWellFormed(bad)) << bad;
    }
}

TEST_F(BoxTest, TheToolTipShowsAfterTheDelayAndRestartsForNewText) {
    Window window("Tipped");
    window.closeButton = true;
    window.SetRectValues(300, 300, 499, 399);
    GetWindowManager().OpenWindow(&window);
    const Point close(499 + 7, 300 + 1 - 7);
    MovePointer(close.x, close.y);
    ToolTip& tip = GetToolTip();
    EXPECT_FALSE(tip.shown);
    for (int i = 0; i < 60 && !tip.shown; ++i) Frame();
    EXPECT_TRUE(tip.shown);
    EXPECT_LT(tip.position.y, float(close.y));  // above what it explains
    MovePointer(400, 350);
    EXPECT_FALSE(tip.shown);
}

// A window whose whole area explains one element at its left or right end.
class EdgeTipWindow : public Window {
public:
    EdgeTipWindow() : Window("EdgeTip") {}
    void GetToolTip() override { ::GetToolTip().Set("Small robot", element); }
    IntRect element;
};

TEST_F(BoxTest, ATipAtTheScreensEdgeStaysOnItAndIsDrawnOverEverythingOnABackdrop) {
    EdgeTipWindow window;
    window.SetRectValues(10, 300, 1013, 399);
    GetWindowManager().OpenWindow(&window);
    ToolTip& tip = GetToolTip();
    // "Small robot" is 11 x 8 x 0.75 = 66 pixels wide; centred on x 10 it would start
    // at -23, and centred on x 1013 end at 1046. It keeps 4 pixels from either edge.
    window.element = IntRect(0, 320, 20, 340);
    MovePointer(15, 330);
    for (int i = 0; i < 60 && !tip.shown; ++i) Frame();
    ASSERT_TRUE(tip.shown);
    EXPECT_EQ(tip.position.x, 4.0f);
    window.element = IntRect(1003, 320, 1023, 340);
    Frame();
    ASSERT_TRUE(tip.shown);
    EXPECT_EQ(tip.position.x, 1024.0f - 4.0f - 66.0f);
    // With no room above an element at the top it goes below; below an element as tall
    // as the screen it rises to 4 pixels above the bottom edge.
    const float height = MeasureText(String("Small robot"), 0.75f).y;
    window.element = IntRect(500, 2, 520, 6);
    Frame();
    EXPECT_EQ(tip.position.y, 6.0f);
    window.element = IntRect(500, 2, 520, 767);
    Frame();
    EXPECT_EQ(tip.position.y, 768.0f - 4.0f - height);

    ScreenTexts texts;
    SetScreenTextQueue(&texts);
    tip.Draw();
    SetScreenTextQueue(nullptr);
    ASSERT_EQ(texts.FrameTexts().Count(), 1);
    EXPECT_TRUE(texts.FrameTexts()[0].backdrop);
    EXPECT_EQ(texts.FrameTexts()[0].text, String("Small robot"));
}

TEST_F(BoxTest, MarksGetTheirDotCountsAndSkipShapesWithNoOutline) {
    Highlighter marks;
    Array<HighlightDot> dots;
    const IntRect screen(0, 0, 1023, 767);
    marks.AddCircle(Vector2(100, 100), 10.0f, 1.6f);  // L 62.8, dots of 6: n 6, doubled to 8
    marks.AddCircle(Vector2(100, 100), 10.0f, 0.4f);  // n trunc(62.8 / 2.4) = 26
    marks.AddCircle(Vector2(100, 100), 0.0f, 1.6f);
    marks.AddRect(FloatRect{-500, -500, -400, -400}, 0.8f);  // clipped away entirely
    marks.LayOutDots(marks.marks[0], 1.0f, screen, dots);
    EXPECT_EQ(dots.Count(), 7);
    EXPECT_FLOAT_EQ(dots[0].size, 6.0f);
    marks.LayOutDots(marks.marks[1], 1.0f, screen, dots);
    EXPECT_EQ(dots.Count(), 25);
    marks.LayOutDots(marks.marks[2], 1.0f, screen, dots);
    EXPECT_EQ(dots.Count(), 0);
    marks.LayOutDots(marks.marks[3], 1.0f, screen, dots);
    EXPECT_EQ(dots.Count(), 0);
    // Fresh marks stand 120 pixels out: radius 10 + 150 x 0.8.
    marks.LayOutDots(marks.marks[0], 0.0f, screen, dots);
    const float dx = dots[0].position.x - 100.0f, dy = dots[0].position.y - 100.0f;
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 130.0f, 0.01f);
}

}  // namespace
