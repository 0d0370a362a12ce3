#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/window/ScriptedWindow.h"
#include "support/ScopedEnv.h"

namespace {

using win::Message;
using win::MessageKind;
using win::MouseButton;

std::vector<Message> Drain(win::SystemWindow& window) {
    std::vector<Message> messages;
    Message message;
    while (window.PeekMessage(message)) messages.push_back(message);
    return messages;
}

std::vector<int> Characters(const std::vector<Message>& messages) {
    std::vector<int> characters;
    for (const Message& m : messages) {
        if (m.kind == MessageKind::Char) characters.push_back(m.character);
    }
    return characters;
}

class ScriptedWindowTest : public ::testing::Test {
protected:
    win::ScriptedWindow window{win::WindowDesc{}};
};

TEST_F(ScriptedWindowTest, KeysArriveAsDownRepeatsAndUpWithTheirCodes) {
    window.PressKey(win::KeyOfLetter('q'), 2);
    window.ReleaseKey(win::kKeyQ);
    window.TapKey(win::kKey0 + 7);
    window.TapKey(win::KeyOfFunction(10));
    window.TapKey(win::kKeyLeft);

    const std::vector<Message> m = Drain(window);
    ASSERT_EQ(m.size(), 10u);
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(m[0].key, 81);
    EXPECT_FALSE(m[0].repeat);
    EXPECT_TRUE(m[1].repeat);
    EXPECT_TRUE(m[2].repeat);
    EXPECT_EQ(m[3].kind, MessageKind::KeyUp);
    EXPECT_EQ(m[3].key, 81);
    EXPECT_EQ(m[4].key, 55);
    EXPECT_EQ(m[6].key, 121);
    EXPECT_EQ(m[8].key, 37);
    EXPECT_EQ(m[9].kind, MessageKind::KeyUp);
}

TEST_F(ScriptedWindowTest, ControlKeysMakeTheirCharactersOnEveryPressAndRepeat) {
    window.PressKey(win::kKeyBackspace, 1);
    window.ReleaseKey(win::kKeyBackspace);
    window.TapKey(win::kKeyTab);
    window.TapKey(win::kKeyReturn);
    window.TapKey(win::kKeyEscape);
    window.TapKey(win::kKeyDelete);  // no character: the game makes its own from the key

    const std::vector<Message> m = Drain(window);
    EXPECT_EQ(Characters(m), (std::vector<int>{8, 8, 9, 13, 27}));
    // The character follows its key-down, as the text of a key follows the key.
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(m[1].kind, MessageKind::Char);
    EXPECT_EQ(m[2].kind, MessageKind::KeyDown);
    EXPECT_TRUE(m[2].repeat);
    EXPECT_EQ(m[3].kind, MessageKind::Char);
}

TEST_F(ScriptedWindowTest, TextBecomesLatin1BytesAndUnmappableCharactersAreDropped) {
    window.TypeText("a\xC3\xA9\xE2\x82\xAC\xC3\xBCZ");  // a, e acute, euro sign, u umlaut, Z
    window.TypeText("\xC2\xA0~\x7F\t");                 // no-break space, tilde, DEL, tab
    window.TypeText("x\xC3");                           // cut off in the middle of a sequence
    window.TypeText("\xFF\xBFy");                       // bytes that start nothing
    EXPECT_EQ(Characters(Drain(window)), (std::vector<int>{'a', 0xE9, 0xFC, 'Z', 0xA0, '~', 'x', 'y'}));
}

TEST_F(ScriptedWindowTest, AltCombinationsGiveKeysButNoCharacters) {
    window.PressKey(win::kKeyAlt);
    window.PressKey(win::kKeyX);
    window.TypeText("x");
    window.TapKey(win::kKeyReturn);
    window.ReleaseKey(win::kKeyX);
    window.ReleaseKey(win::kKeyAlt);
    window.TypeText("y");

    const std::vector<Message> m = Drain(window);
    EXPECT_EQ(Characters(m), (std::vector<int>{'y'}));
    ASSERT_GE(m.size(), 2u);
    EXPECT_TRUE(m[0].altDown);
    EXPECT_EQ(m[1].key, win::kKeyX);
    EXPECT_TRUE(m[1].altDown);
}

TEST_F(ScriptedWindowTest, SecondPressOfADoubleClickIsReportedAsADoubleClick) {
    window.MovePointer(30, 40);
    window.DoubleClick(MouseButton::Right);
    window.PressButton(MouseButton::Right, 3);  // a third quick press starts over
    window.ReleaseButton(MouseButton::Right);
    window.PressButton(MouseButton::Middle, 4);

    const std::vector<Message> m = Drain(window);
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(m[0].kind, MessageKind::PointerMove);
    const MessageKind expected[] = {MessageKind::ButtonDown, MessageKind::ButtonUp,   MessageKind::DoubleClick,
                                    MessageKind::ButtonUp,   MessageKind::ButtonDown, MessageKind::ButtonUp,
                                    MessageKind::DoubleClick};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(m[i + 1].kind, expected[i]) << i;
        EXPECT_EQ(m[i + 1].x, 30);
        EXPECT_EQ(m[i + 1].y, 40);
    }
    EXPECT_EQ(m[1].button, MouseButton::Right);
    EXPECT_EQ(m[7].button, MouseButton::Middle);
    EXPECT_TRUE(window.IsKeyDown(win::kKeyMiddleButton));
    EXPECT_FALSE(window.IsKeyDown(win::kKeyRightButton));
}

TEST_F(ScriptedWindowTest, WheelComesIn120PerNotchAndMessagesCarryThePointer) {
    window.MovePointer(5, 6);
    window.TurnWheel(2);
    window.TurnWheel(0);
    window.TurnWheel(-1);
    window.SetPointerPosition(-3, 900);
    window.TapKey(win::kKeyA);

    const std::vector<Message> m = Drain(window);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[1].kind, MessageKind::Wheel);
    EXPECT_EQ(m[1].wheelDelta, 240);
    EXPECT_EQ(m[1].x, 5);
    EXPECT_EQ(m[2].wheelDelta, -120);
    EXPECT_EQ(m[3].x, -3);
    EXPECT_EQ(m[3].y, 900);
    EXPECT_EQ(window.PointerPosition(), (win::Point{-3, 900}));
}

TEST_F(ScriptedWindowTest, LosingTheFocusDeactivatesAndReleasesEveryKey) {
    window.PressKey(win::kKeyShift);
    window.PressKey(win::kKeyW);
    window.PressButton(MouseButton::Left);
    EXPECT_TRUE(window.IsKeyDown(win::kKeyShift));
    EXPECT_TRUE(window.IsKeyDown(win::kKeyLeftButton));
    Drain(window);

    window.SetFocus(false);
    window.SetFocus(false);
    EXPECT_FALSE(window.IsActive());
    EXPECT_FALSE(window.IsKeyDown(win::kKeyShift));
    EXPECT_FALSE(window.IsKeyDown(win::kKeyW));
    EXPECT_FALSE(window.IsKeyDown(win::kKeyLeftButton));
    window.SetFocus(true);

    const std::vector<Message> m = Drain(window);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].kind, MessageKind::Activate);
    EXPECT_FALSE(m[0].active);
    EXPECT_EQ(m[1].kind, MessageKind::Activate);
    EXPECT_TRUE(m[1].active);
    EXPECT_TRUE(window.IsActive());
}

TEST_F(ScriptedWindowTest, QuitAndCloseKeepTheirPlaceInTheQueue) {
    window.TapKey(win::kKeyEscape);
    window.CloseByUser();
    window.RequestQuit();
    window.PostQuit();

    win::Message peeked;
    ASSERT_TRUE(window.PeekMessage(peeked, win::PeekMode::Keep));
    EXPECT_EQ(peeked.kind, MessageKind::KeyDown);
    const std::vector<Message> m = Drain(window);
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(m[3].kind, MessageKind::Destroyed);
    EXPECT_EQ(m[4].kind, MessageKind::Quit);
    EXPECT_EQ(m[5].kind, MessageKind::Quit);
    // Nothing can arrive while a scripted window waits, so it returns at once.
    EXPECT_FALSE(window.WaitMessage(peeked));
}

TEST_F(ScriptedWindowTest, CursorCounterShowsTheCursorOnlyWhileNotNegative) {
    EXPECT_TRUE(window.IsCursorVisible());
    EXPECT_EQ(window.ShowCursor(false), -1);
    EXPECT_EQ(window.ShowCursor(false), -2);
    EXPECT_EQ(window.ShowCursor(true), -1);
    EXPECT_FALSE(window.IsCursorVisible());
    EXPECT_FALSE(window.SystemCursorVisible());
    EXPECT_EQ(window.ShowCursor(true), 0);
    EXPECT_TRUE(window.SystemCursorVisible());
    EXPECT_EQ(window.ShowCursor(true), 1);
    EXPECT_TRUE(window.SystemCursorVisible());
}

TEST_F(ScriptedWindowTest, CursorImagesAreCheckedBeforeTheyReplaceTheArrow) {
    win::CursorImage image{2, 3, 1, 2, std::vector<uint8_t>(2 * 3 * 4, 0xFF)};
    win::CursorImage shortPixels = image;
    shortPixels.rgba.pop_back();
    win::CursorImage hotOutside = image;
    hotOutside.hotY = 3;
    EXPECT_FALSE(window.SetCursorImage(shortPixels));
    EXPECT_FALSE(window.SetCursorImage(hotOutside));
    EXPECT_FALSE(window.SetCursorImage(win::CursorImage{}));
    EXPECT_EQ(window.Cursor(), win::CursorShape::Arrow);

    ASSERT_TRUE(window.SetCursorImage(image));
    EXPECT_EQ(window.Cursor(), win::CursorShape::Custom);
    EXPECT_EQ(window.CustomCursor().hotY, 2);
    window.SetArrowCursor();
    EXPECT_EQ(window.Cursor(), win::CursorShape::Arrow);
}

TEST(ScriptedWindowOpen, SizesAreCheckedAndFullScreenIsKept) {
    win::WindowDesc desc;
    desc.width = 0;
    EXPECT_EQ(win::OpenWindow(win::WindowBackend::Scripted, desc).window, nullptr);
    desc.width = 800;
    desc.height = 600;
    desc.fullScreen = true;
    desc.title = "Vorns";
    win::WindowResult opened = win::OpenWindow(win::WindowBackend::Scripted, desc);
    ASSERT_NE(opened.window, nullptr);
    win::SystemWindow& window = *opened.window;
    EXPECT_EQ(window.NativeWindow(), nullptr);
    EXPECT_TRUE(window.IsFullScreen());
    EXPECT_EQ(window.Title(), "Vorns");
    EXPECT_FALSE(window.SetClientSize(win::kMaxClientSide + 1, 600));
    EXPECT_TRUE(window.SetClientSize(1024, 768));
    EXPECT_EQ(window.ClientSize(), (win::Size{1024, 768}));
    EXPECT_TRUE(window.SetFullScreen(false));
    EXPECT_FALSE(window.IsFullScreen());
}

// Scripted input over a hidden surface that GL can draw on; the surface follows the size.
TEST(ScriptedWindowOpen, OnAGlSurfaceTheInputStaysScriptedAndTheSurfaceIsReal) {
    const platform_test::ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    win::WindowDesc desc;
    desc.width = 320;
    desc.height = 200;
    win::WindowResult opened = win::OpenWindow(win::WindowBackend::ScriptedGl, desc);
    if (opened.window == nullptr) GTEST_SKIP() << "no offscreen SDL video: " << opened.error;
    auto& window = static_cast<win::ScriptedWindow&>(*opened.window);
    ASSERT_NE(window.NativeWindow(), nullptr);
    EXPECT_TRUE((SDL_GetWindowFlags(window.NativeWindow()) & SDL_WINDOW_OPENGL) != 0);
    EXPECT_TRUE(window.SetClientSize(400, 300));
    int width = 0, height = 0;
    SDL_GetWindowSize(window.NativeWindow(), &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    window.TapKey('A');
    win::Message message;
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.kind, win::MessageKind::KeyDown);
    EXPECT_EQ(message.key, 'A');
}

}  // namespace
