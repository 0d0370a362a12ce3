// The mouse turning a scripted window's input into queued input records.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/Image.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/window/Message.h"
#include "platform/window/ScriptedWindow.h"
#include "support/TempFolder.h"

namespace {

using win::MouseButton;

struct Expected {
    int32_t kind;
    int32_t code;
};

class MouseTest : public ::testing::Test {
protected:
    MouseTest() {
        win::WindowDesc desc;
        desc.width = 640;
        desc.height = 480;
        auto opened = win::OpenWindow(win::WindowBackend::Scripted, desc);
        window_ = std::move(opened.window);
        mouse_.AttachWindow(window_.get());
    }

    win::ScriptedWindow& Window() { return static_cast<win::ScriptedWindow&>(*window_); }

    // One frame as the main loop runs it: poll, the window's messages, the tick.
    std::vector<InputEvent> Frame() {
        mouse_.PollPosition();
        win::Message message;
        while (window_->PeekMessage(message)) mouse_.HandleMessage(message);
        mouse_.UpdateCursor();
        return {mouse_.Events().begin(), mouse_.Events().end()};
    }

    // The frame's records between the opening pointer move and the closing tick.
    std::vector<Expected> Between() {
        const std::vector<InputEvent> events = Frame();
        EXPECT_GE(events.size(), 2u);
        EXPECT_EQ(events.front().kind, kInputPointerMove);
        EXPECT_EQ(events.back().kind, kInputFrameTick);
        std::vector<Expected> inner;
        for (size_t i = 1; i + 1 < events.size(); ++i) inner.push_back({events[i].kind, events[i].code});
        return inner;
    }

    std::unique_ptr<win::SystemWindow> window_;
    Mouse mouse_;
};

void ExpectRecords(const std::vector<Expected>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].kind, expected[i].kind) << "record " << i;
        EXPECT_EQ(actual[i].code, expected[i].code) << "record " << i;
    }
}

TEST_F(MouseTest, FramesOpenWithThePointerAndCloseWithTheTick) {
    Window().MovePointer(30, 40);
    const std::vector<InputEvent> events = Frame();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (InputEvent{30, 40, kInputPointerMove, 0}));
    EXPECT_EQ(events[1], (InputEvent{30, 40, kInputFrameTick, 0}));
    Window().MovePointer(31, 42);
    EXPECT_EQ(Frame().size(), 2u);
    EXPECT_EQ(mouse_.previousPosition, Point(30, 40));
    EXPECT_EQ(mouse_.position, Point(31, 42));
}

TEST_F(MouseTest, KeysRepeatOnlyAsEditingCharacters) {
    Window().PressKey(win::kKeyA, 2);
    ExpectRecords(Between(), {{kInputDown, 'A'}});
    EXPECT_TRUE(mouse_.IsKeyHeld('A'));
    Window().ReleaseKey(win::kKeyA);
    ExpectRecords(Between(), {{kInputUp, 'A'}});
    EXPECT_FALSE(mouse_.IsKeyHeld('A'));

    Window().PressKey(win::kKeyLeft, 2);
    Window().PressKey(win::kKeyDelete);
    Window().TapKey(win::kKeyHome);
    Window().ReleaseKey(win::kKeyLeft);
    ExpectRecords(Between(), {{kInputDown, Mouse::kCodeLeft},
                              {kInputCharacter, Mouse::kCodeLeft},
                              {kInputCharacter, Mouse::kCodeLeft},
                              {kInputCharacter, Mouse::kCodeLeft},
                              {kInputDown, Mouse::kCodeDelete},
                              {kInputCharacter, Mouse::kCodeDelete},
                              {kInputDown, Mouse::kCodeHome},
                              {kInputUp, Mouse::kCodeHome},
                              {kInputUp, Mouse::kCodeLeft}});
    EXPECT_TRUE(mouse_.IsKeyHeld(Mouse::kCodeDelete));
    EXPECT_FALSE(mouse_.IsKeyHeld(Mouse::kCodeLeft));
    EXPECT_EQ(Mouse::TranslateKey(win::kKeyEnd), Mouse::kCodeEnd);
    EXPECT_EQ(Mouse::TranslateKey(win::kKeyShift), 16);
}

TEST_F(MouseTest, CharactersIncludeControlKeysAndLatin1) {
    Window().PressKey(win::kKeyReturn, 1);
    Window().TapKey(win::kKeyBackspace);
    Window().TapKey(win::kKeyTab);
    Window().TapKey(win::kKeyEscape);
    Window().TypeText("a\xC3\xA9\xE2\x82\xAC");  // a, e acute, and a euro sign Latin-1 lacks
    ExpectRecords(Between(), {{kInputDown, 13},
                              {kInputCharacter, 13},
                              {kInputCharacter, 13},
                              {kInputDown, 8},
                              {kInputCharacter, 8},
                              {kInputUp, 8},
                              {kInputDown, 9},
                              {kInputCharacter, 9},
                              {kInputUp, 9},
                              {kInputDown, 27},
                              {kInputCharacter, 27},
                              {kInputUp, 27},
                              {kInputCharacter, 'a'},
                              {kInputCharacter, 0xE9}});
}

TEST_F(MouseTest, AltCombinationsQueueKeysWithoutCharacters) {
    Window().PressKey(win::kKeyAlt);
    Window().PressKey(win::kKeyLeft, 1);
    Window().PressKey(win::kKeyReturn);
    Window().TypeText("x");
    ExpectRecords(Between(), {{kInputDown, win::kKeyAlt}, {kInputDown, Mouse::kCodeLeft}, {kInputDown, 13}});
}

TEST_F(MouseTest, ButtonsDoubleClicksAndTheWheel) {
    Window().MovePointer(12, 34);
    Window().DoubleClick(MouseButton::Right);
    Window().Click(MouseButton::Middle);
    Window().TurnWheel(2);
    Window().TurnWheel(-1);
    const std::vector<InputEvent> events = Frame();
    const std::vector<InputEvent> expected = {{12, 34, kInputPointerMove, 0},
                                              {12, 34, kInputDown, kInputButtonRight},
                                              {12, 34, kInputUp, kInputButtonRight},
                                              {12, 34, kInputDoubleClick, kInputButtonRight},
                                              {12, 34, kInputUp, kInputButtonRight},
                                              {12, 34, kInputDown, kInputButtonMiddle},
                                              {12, 34, kInputUp, kInputButtonMiddle},
                                              {12, 34, kInputWheel, 2},
                                              {12, 34, kInputWheel, -1},
                                              {12, 34, kInputFrameTick, 0}};
    EXPECT_EQ(events, expected);

    // Part of a notch (a fine-grained wheel) rounds toward zero.
    win::Message half;
    half.kind = win::MessageKind::Wheel;
    half.wheelDelta = 60;
    mouse_.HandleMessage(half);
    EXPECT_EQ(mouse_.Events()[mouse_.Events().Count() - 1].code, 0);
}

class Forgetful : public HeldKeyListener {
public:
    void ReleaseHeldKeys() override { ++calls; }
    int calls = 0;
};

TEST_F(MouseTest, LosingTheFocusReleasesEveryHeldKey) {
    Forgetful camera;
    Forgetful removed;
    mouse_.AddHeldKeyListener(&camera);
    mouse_.AddHeldKeyListener(&removed);
    mouse_.AddHeldKeyListener(&camera);
    mouse_.RemoveHeldKeyListener(&removed);
    Window().MovePointer(100, 100);
    Window().PressKey(win::kKeyW);
    Window().PressKey(win::kKeyControl);
    Between();
    ASSERT_TRUE(mouse_.IsKeyHeld('W'));

    Window().SetFocus(false);
    ExpectRecords(Between(), {});
    EXPECT_EQ(mouse_.active, 0);
    EXPECT_FALSE(mouse_.IsKeyHeld('W'));
    EXPECT_FALSE(mouse_.IsKeyHeld(win::kKeyControl));
    EXPECT_EQ(camera.calls, 1);
    EXPECT_EQ(removed.calls, 0);

    Window().MovePointer(200, 200);
    Window().Click(MouseButton::Left);
    const std::vector<InputEvent> inactive = Frame();
    // Without the focus, the pointer stays where the last active frame saw it.
    for (const InputEvent& event : inactive) EXPECT_EQ(Point(event.x, event.y), Point(100, 100));
    ASSERT_EQ(inactive.size(), 4u);

    Window().SetFocus(true);
    Window().Click(MouseButton::Left);
    const std::vector<InputEvent> back = Frame();
    EXPECT_EQ(mouse_.active, 1);
    EXPECT_EQ(back[1], (InputEvent{200, 200, kInputDown, kInputButtonLeft}));
    mouse_.RemoveHeldKeyListener(&camera);
}

TEST_F(MouseTest, CarryingHidesTheCursorAndWindowsRequestTheirOwn) {
    const win::ScriptedWindow& window = Window();
    mouse_.HideCursor(14, nullptr);
    EXPECT_EQ(mouse_.mode, 14);
    EXPECT_FALSE(window.SystemCursorVisible());
    mouse_.ShowCursor();
    EXPECT_EQ(mouse_.mode, Mouse::kModeNothing);
    EXPECT_EQ(mouse_.previousMode, 14);
    EXPECT_TRUE(window.SystemCursorVisible());

    mouse_.requestedCursor = Mouse::kCursorOwn;
    Frame();
    EXPECT_EQ(window_->Cursor(), win::CursorShape::Custom);
    EXPECT_EQ(window.CustomCursor().width, 16);
    EXPECT_EQ(mouse_.requestedCursor, Mouse::kCursorSystem);
    Frame();
    EXPECT_EQ(window_->Cursor(), win::CursorShape::Arrow);
}

// Drawing what is carried, on the program's renderer (headless: the recording device).
class MouseDrawingTest : public ::testing::Test {
protected:
    MouseDrawingTest() {
        Image image(4, 4);
        image.Fill(Color(0xFFFFFFFFu));
        image.SaveTGA(folder_ / "Mark.tga");
        Recording().SetCallLog(true);
        Recording().ClearRecords();
        EXPECT_TRUE(GetRenderer().GetReady());
    }
    ~MouseDrawingTest() override {
        GetRenderer().EndFrame();
        Recording().SetCallLog(false);
    }

    static gfx::RecordingDevice& Recording() { return dynamic_cast<gfx::RecordingDevice&>(GetRenderer().GetDevice()); }
    static const std::vector<gfx::DrawRecord>& Draws() { return Recording().Draws(); }
    // The top-left corner and the size each draw put its unit quad at.
    static std::vector<std::pair<Vector2, Vector2>> Places() {
        std::vector<std::pair<Vector2, Vector2>> places;
        for (const gfx::DrawRecord& draw : Draws()) {
            places.push_back({Vector2(draw.world[12], draw.world[13]), Vector2(draw.world[0], draw.world[5])});
        }
        return places;
    }
    Sprite* Centred(int width, int height) {
        return GetRenderer().CreateSprite(width, height, String((folder_ / "Mark.tga").c_str()), Sprite::kAnchorCentre);
    }

    platform_test::TempFolder folder_;
    Mouse mouse_;
};

class BoxRecorder : public CarriedItemPainter {
public:
    void DrawCarriedPattern(const IntRect& box) override { patterns.push_back(box); }
    void DrawCarriedSquad(const IntRect& box) override { squads.push_back(box); }
    std::vector<IntRect> patterns, squads;
};

TEST_F(MouseDrawingTest, CarriedSpriteStacksSmallerCopiesWhileControlIsHeld) {
    mouse_.position = Point(100, 200);
    mouse_.HideCursor(2, Centred(20, 10));
    mouse_.heldKeys[17] = 1;
    mouse_.Draw();
    // Moved by 0.5 and 0.3 x (20, -10) toward the upper right, at 0.5 and 0.75 of the size.
    const std::vector<std::pair<Vector2, Vector2>> expected = {{Vector2(105, 192.5f), Vector2(10, 5)},
                                                               {Vector2(98.5f, 193.25f), Vector2(15, 7.5f)},
                                                               {Vector2(90, 195), Vector2(20, 10)}};
    EXPECT_EQ(Places(), expected);
}

TEST_F(MouseDrawingTest, ShiftedMarkersSitDownAndLeftAtTwoThirds) {
    mouse_.markerSprite = Centred(32, 32);
    mouse_.coinSprite = Centred(32, 32);
    mouse_.position = Point(100, 200);
    mouse_.HideCursor(3, nullptr);
    mouse_.markerScale = 1.5f;
    mouse_.drawMarkers = 1;
    mouse_.addCoinMarker = 1;
    mouse_.shiftMarkers = 1;
    mouse_.Draw();
    // Centred on (100 - 18, 200 + 18) at 32 x 1.5 / 1.5: coin first, then the cross.
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Places()[1], std::make_pair(Vector2(66, 202), Vector2(32, 32)));
}

TEST_F(MouseDrawingTest, CarriedPatternBoxStaysOnTheScreen) {
    BoxRecorder painter;
    mouse_.SetCarriedItemPainter(&painter);
    mouse_.position = Point(5, 700);
    mouse_.HideCursor(Mouse::kModePattern, nullptr);
    mouse_.Draw();
    mouse_.HideCursor(Mouse::kModeSquadButton, nullptr);
    mouse_.Draw();
    ASSERT_EQ(painter.patterns.size(), 1u);
    EXPECT_EQ(painter.patterns[0], IntRect(0, 676, 48, 724));
    EXPECT_EQ(painter.squads, (std::vector<IntRect>{IntRect(-19, 676, 29, 724)}));
}

TEST(InputEventTest, Helpers) {
    InputEvent event;
    event.Set(kInputDown, 'Q', Point(3, 4));
    EXPECT_TRUE(event.IsKeyDown('Q'));
    EXPECT_FALSE(event.IsKeyUp('Q'));
    EXPECT_FALSE(event.IsKeyDown('E'));
    event.Clear();
    EXPECT_EQ(event, (InputEvent{-1, -1, kInputNone, -1}));
}

}  // namespace
