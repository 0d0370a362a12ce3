// Layout and input rules the screens share.
#include "engine/ScreenLayout.h"

#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/window/Keys.h"

namespace {

// The bottom row of buttons stands this far above the screen's lower edge.
constexpr int32_t kBottomRowRise = 71;

}  // namespace

Point RectSize(const IntRect& rect) { return Point(rect.right - rect.left + 1, rect.bottom - rect.top + 1); }

IntRect ScaleRect(const IntRect& rect, float factor) {
    const float growth = (factor - 1.0f) * 0.5f;
    const auto margin = int32_t(float(RectSize(rect).x) * growth);
    return IntRect(rect.left - margin, rect.top - margin, rect.right + margin, rect.bottom + margin);
}

void LayOutButtonRow(SpriteGrid& grid, const IntRect& screen, bool shift) {
    const int32_t shown = grid.CountVisible();
    const int32_t slots = shift ? shown + 2 : shown;
    const int32_t step = RectSize(screen).x / (slots + 1);
    int32_t k = shift ? 2 : 1;
    for (int i = 0; i < grid.Count(); ++i) {
        if (!grid.IsShown(i)) continue;
        grid.sprites[i]->x = step * k++;
        grid.sprites[i]->y = (screen.bottom - screen.top) - kBottomRowRise;
    }
}

void GetBottomButtonPositions(const IntRect& screen, const IntRect& chatWindow, Point positions[4]) {
    const int32_t left = screen.left, right = screen.right;
    const int32_t a = ((chatWindow.left - chatWindow.right) - left + right) / 2;
    const int32_t b = right - a - left + 1;
    const int32_t y = (screen.bottom - screen.top) - kBottomRowRise;
    positions[0] = Point(a / 2, y);
    positions[1] = Point((right - left + b + 1) / 2, y);
    positions[2] = Point((right - left - b + 1) / 3 + b, y);
    positions[3] = Point(((right - left - b) * 2 + 2) / 3 + b, y);
}

Point LaunchSquadTrayPosition(int32_t screenWidth, int32_t trayWidth, int32_t textBoxBottom) {
    const int32_t top = textBoxBottom >= 0 ? textBoxBottom + 132 : 128;
    return Point(int32_t(0.75f * float(screenWidth)) - trayWidth / 2, top);
}

bool IsCameraInput(const InputEvent& input, const Mouse& mouse) {
    if (input.code == kInputButtonLeft || input.code == kInputButtonRight || input.code == kInputButtonMiddle ||
        input.kind == kInputWheel) {
        return true;
    }
    if (input.kind != kInputDown) return false;
    const bool control = mouse.IsKeyHeld(win::kKeyControl);
    switch (input.code) {
        case win::kKeyR:
        case win::kKeyB:
        case win::kKeyG:
        case Mouse::kCodeDelete: return true;
        case win::kKeyY:
        case win::kKeyU:
        case win::kKeyF: return !control;
        case win::kKeyC:
        case win::kKeyV: return control;
        default: return false;
    }
}
