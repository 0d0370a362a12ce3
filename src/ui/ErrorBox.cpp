// The box that reports an error and waits for the space key.
#include "ui/ErrorBox.h"

#include <algorithm>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
ErrorBoxActions* gActions = nullptr;
constexpr Color kContinueColour = Color(0xFF00FF00);
constexpr Color kFocusedColour = Color(0xFFFF0000);
constexpr Color kUnfocusedColour = Color(0xFF800000);
constexpr int32_t kWidth = 400;
constexpr int32_t kHeight = 200;
}  // namespace

void SetErrorBoxActions(ErrorBoxActions* actions) { gActions = actions; }

ErrorBox::ErrorBox() : Window("ErrorBox") {
    movable = false;
    resizable = false;
    backgroundShown = true;
    Initialize();
    MoveTo(Point(0, 0));
    Resize(Point(kWidth, kHeight));
}

void ErrorBox::OnOpen() { Place(); }

// The next text stands in the middle again unless its caller asks otherwise.
void ErrorBox::OnClose() {
    aboveMiddle = false;
    Window::OnClose();
}

void ErrorBox::Place() {
    if (!aboveMiddle) {
        CentreOnScreen();
        return;
    }
    const IntRect s = UiScreenRect();
    MoveTo(Point((s.right - s.left - Width()) / 2, s.top + 2 * frame.border));
}

void ErrorBox::DrawContents() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    DrawBackground();
    renderer.SetAlphaBlend();
    const String prompt = GetLanguageText("ContinueText");
    const Vector2 size = MeasureText(prompt, kTextScale);
    DrawUiText(prompt, float(right) - size.x, float(bottom) - size.y, kContinueColour, kTextScale);
    float y = float(top);
    for (const String& line : lines) {
        DrawUiText(line, float(left), y, Color(0xFFFFFFFF), kTextScale);
        y += FontLineHeight() * kTextScale;
    }
    renderer.SetBlendOff();
}

bool ErrorBox::HandleMouse(const InputEvent& input) {
    if (input.IsKeyDown(win::kKeySpace)) {
        spaceDown = true;
        return true;
    }
    if (input.IsKeyUp(win::kKeySpace)) {
        if (spaceDown) PostEvent(kEventContinueErrorBox);
        spaceDown = false;
        return true;
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void ErrorBox::HandleCommand(Event& event) {
    if (event.type == kEventContinueErrorBox) {
        Continue();
        return;
    }
    Window::HandleCommand(event);
}

void ErrorBox::Continue() {
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
    if (nextWindow == nullptr) {
        if (returnToPrevious) manager.ReturnToPreviousWindow();
        if (popGame && gActions != nullptr) gActions->PopGame();
        if (networkState != kNoNetworkState && gActions != nullptr) gActions->EnterNetworkState(networkState);
    } else {
        manager.OpenWindow(nextWindow);
        if (bringNextToFront) manager.BringToFront(nextWindow);
    }
    returnToPrevious = false;
    popGame = false;
    nextWindow = nullptr;
    bringNextToFront = false;
    networkState = kNoNetworkState;
}

void ErrorBox::SetHighlightColour() { SetFrameColour(kFocusedColour); }

void ErrorBox::SetNormalColour() { SetFrameColour(kUnfocusedColour); }

void ErrorBox::WrapText() {
    lines.Clear();
    SplitWords(message, lines, GetFont(), kTextScale, right - left + 1, 0);
    // A long text (a crowd of names) makes the box taller, up to the screen's height, the
    // prompt keeping a row of its own; what even that cannot hold ends in "...".
    const float lineHeight = FontLineHeight() * kTextScale;
    if (!(lineHeight > 0.0f)) return;
    const IntRect screen = UiScreenRect();
    // Above the middle the box keeps a gap of four borders to it.
    const int32_t room = aboveMiddle ? (screen.bottom - screen.top + 1) / 2 - 6 * frame.border
                                     : screen.bottom - screen.top + 1 - 2 * frame.border;
    const int32_t tallest = std::max(kHeight, room);
    const int32_t rows = std::max(1, int32_t(float(tallest) / lineHeight) - 1);
    if (lines.Count() > rows) {
        while (lines.Count() > rows) lines.RemoveAt(lines.Count() - 1);
        lines[rows - 1] = "...";
    }
    const int32_t wanted = int32_t(std::ceil(lineHeight * float(lines.Count() + 1)));
    const int32_t height = std::clamp(wanted, kHeight, tallest);
    if (height != bottom - top + 1) Resize(Point(kWidth, height));
    Place();
}

ErrorBox& GetErrorBox() {
    static ErrorBox box;
    return box;
}

void ShowRefusal(const String& text, bool aboveMiddle) {
    ErrorBox& box = GetErrorBox();
    box.aboveMiddle = aboveMiddle;
    box.message.Clear();
    box.AddLine(text);
    box.WrapText();
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    PlayUiSound("Illegal.ogg");
}
