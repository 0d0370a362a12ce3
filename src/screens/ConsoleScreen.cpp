// The console's window on screen.
#include "screens/ConsoleScreen.h"

#include <algorithm>

#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "screens/SceneScreen.h"
#include "ui/UiServices.h"

ConsoleScreen::ConsoleScreen() {
    backgroundShown = true;
    SetRect(IntRect(10, 10, 410, 210));
    FitLines();
}

int32_t ConsoleScreen::LineStep() const { return int32_t(FontLineHeight() * kTextScale); }

void ConsoleScreen::FitLines() {
    const float lineHeight = FontLineHeight() * kTextScale;
    const int32_t fitting = lineHeight > 0.0f ? int32_t(float(bottom - top + 1) / lineHeight) : kMinVisibleLines;
    SetVisibleLines(fitting);
    SetRect(IntRect(left, top, right, top + int32_t(lineHeight * float(VisibleLines()))));
}

void ConsoleScreen::CreateResources() {
    upArrow = CreateUiSprite(kArrowPixels, kArrowPixels, "UpArrow.tga", Sprite::kAnchorTopLeft);
    downArrow = CreateUiSprite(kArrowPixels, kArrowPixels, "DownArrow.tga", Sprite::kAnchorTopLeft);
}

void ConsoleScreen::ReleaseResources() {
    upArrow = nullptr;
    downArrow = nullptr;
    Window::ReleaseResources();
}

void ConsoleScreen::PlaceArrows() {
    if (upArrow == nullptr) return;
    upArrow->x = right - kArrowPixels;
    upArrow->y = top;
    downArrow->x = right - kArrowPixels;
    downArrow->y = bottom - kArrowPixels;
}

void ConsoleScreen::DrawContents() {
    Renderer& renderer = GetRenderer();
    camera_.SetScreenView(Rect(), true);
    renderer.SetCamera(camera_);
    DrawBackground();
    renderer.SetCamera(camera_);
    renderer.SetAlphaBlend();
    const StringArray& lines = Lines();
    const int32_t last = std::min(FirstLine() + VisibleLines(), lines.Count());
    for (int32_t i = FirstLine(); i < last; ++i) {
        const float y = float(top + (i - FirstLine()) * LineStep());
        DrawUiText(lines[i], float(left), y, Color(0xFFFFFFFF), kTextScale);
    }
    PlaceArrows();
    if (upArrow != nullptr) {
        renderer.DrawSprite(*upArrow);
        renderer.DrawSprite(*downArrow);
    }
    renderer.SetBlendOff();
}

bool ConsoleScreen::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    const bool leftPress = input.kind == kInputDown && input.code == kInputButtonLeft;
    PlaceArrows();
    if (holdUp || holdDown) {
        Sprite* held = holdUp ? upArrow : downArrow;
        if (!leftPress) {
            holdUp = false;
            holdDown = false;
        } else if (held != nullptr && held->Contains(p)) {
            repeatTimer -= ScreenFrameTime();
            if (repeatTimer <= 0.0f) {
                PostEvent(holdUp ? kEventScrollUp : kEventScrollDown);
                repeatTimer = kRepeatSeconds;
            }
            return true;
        }
    }
    if (leftPress && upArrow != nullptr && upArrow->Contains(p)) {
        PostEvent(kEventScrollUp);
        holdUp = true;
        repeatTimer = kRepeatSeconds;
        return true;
    }
    if (leftPress && downArrow != nullptr && downArrow->Contains(p)) {
        PostEvent(kEventScrollDown);
        holdDown = true;
        repeatTimer = kRepeatSeconds;
        return true;
    }
    return Window::HandleMouse(input) || IsCameraInput(input, GetMouse());
}

void ConsoleScreen::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventScrollUp: SetFirstLine(std::max(FirstLine() - 1, 0)); break;
        case kEventScrollDown: {
            int32_t first = FirstLine() + 1;
            if (first + VisibleLines() >= Lines().Count()) first = Lines().Count() - VisibleLines();
            SetFirstLine(std::max(first, 0));
            break;
        }
        default: Window::HandleCommand(event);
    }
}

ConsoleScreen& GetConsoleScreen() {
    static ConsoleScreen screen;
    return screen;
}
