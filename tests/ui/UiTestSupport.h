#pragma once
// A game, a scripted window and the mouse wired as the program wires them, so that the
// tests play the user through the real input path and see what the windows post.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/String.h"
#include "engine/InputEvent.h"
#include "game/Event.h"
#include "game/Game.h"
#include "platform/window/Message.h"
#include "platform/window/ScriptedWindow.h"

namespace ui_test {

struct Posted {
    int32_t type = 0;
    std::string text;
    int32_t value = 0;
    Point point;
};

// Records every event it hands back to its window.
class RecordingGame : public Game {
public:
    void HandleEvent(Event& event) override;
    std::vector<Posted> posted;
    // Types only, for short assertions.
    std::vector<int32_t> Types() const;
};

// Glyph widths of 8 pixels, lines of 16, so layouts can be worked out by hand.
void UseMeasuringFont();

class UiTest : public ::testing::Test {
protected:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;

    void SetUp() override;
    void TearDown() override;

    // One frame as the main loop runs it: the pointer, the messages, the tick, then the
    // game's input step.
    void Frame();
    void MovePointer(int x, int y);
    void Press(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void Release(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void Click(int x, int y);
    void TapKey(int key);
    void Type(const char* text);
    // Effect sounds played since the last call, by upper-cased name.
    std::vector<std::string> TakeSounds();

    RecordingGame game;
    std::unique_ptr<win::SystemWindow> window;
    win::ScriptedWindow* scripted = nullptr;
};

}  // namespace ui_test
