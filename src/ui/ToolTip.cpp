// The one tool tip.
#include "ui/ToolTip.h"

#include <algorithm>

#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "ui/ScreenTextQueue.h"
#include "ui/UiServices.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {
constexpr float kTextScale = 0.75f;
// Room left between a tip and the screen's edges, so that its first and last letters
// never touch them.
constexpr float kScreenMargin = 4.0f;

// The place along one side of the screen, moved so that a tip of that extent keeps the
// margin on both ends; a tip too large for the room starts at the margin.
float KeptInside(float place, float extent, float screenFirst, float screenLast) {
    const float lowest = screenFirst + kScreenMargin;
    return std::clamp(place, lowest, std::max(lowest, screenLast + 1.0f - kScreenMargin - extent));
}
}  // namespace

void ToolTip::Clear() {
    text.Clear();
    timer = 0.0f;
    colour = Color(0xFFFFFFFF);
}

void ToolTip::Set(const String& newText, const IntRect& area) {
    text = newText;
    rect = area;
}

void ToolTip::SetForItem(const String& newText, const SpriteGrid& grid, const Sprite& sprite) {
    IntRect r = sprite.GetScreenRect();
    const bool hovered = grid.IsValidIndex(grid.hovered) && grid.sprites[grid.hovered] == &sprite;
    if (hovered) {
        const int32_t growX = (r.right - r.left) / 4;
        const int32_t growY = (r.bottom - r.top) / 4;
        r = IntRect(r.left - growX, r.top - growY, r.right + growX, r.bottom + growY);
    }
    Set(newText, r);
}

void ToolTip::Update(float frameSeconds) {
    const Mouse& mouse = GetMouse();
    Window* window = GetWindowManager().WindowAt(mouse.position);
    if (window == nullptr) {
        shown = false;
        return;
    }
    previousText = text;
    text.Clear();
    window->GetToolTip();
    // Nothing is explained while the player carries something.
    if (mouse.mode != Mouse::kModeNothing) text.Clear();
    if (text.IsEmpty()) {
        shown = false;
        return;
    }
    if (text != previousText) timer = window->toolTipDelay;
    timer -= frameSeconds;
    if (timer >= 0.0f) {
        shown = false;
        return;
    }
    shown = true;
    const Vector2 size = MeasureText(text, kTextScale);
    const IntRect screen = UiScreenRect();
    const float screenTop = float(screen.top);
    const float screenBottom = float(screen.bottom);
    const IntRect keepClear = window->ToolTipKeepClear();
    const auto coversKept = [&](const Vector2& at) {
        return keepClear.right > keepClear.left && at.x < float(keepClear.right) &&
               at.x + size.x > float(keepClear.left) && at.y < float(keepClear.bottom) &&
               at.y + size.y > float(keepClear.top);
    };
    // A tip of an element at the screen's edge slides along it rather than off it.
    const float centredX =
        KeptInside((float(rect.left + rect.right) - size.x) * 0.5f, size.x, float(screen.left), float(screen.right));
    // Above its element, or below when above is off the screen or over what the window
    // keeps clear; beside it when below is over that too.
    const Vector2 above(centredX, float(rect.top) - size.y);
    const Vector2 below(centredX, KeptInside(float(rect.bottom), size.y, screenTop, screenBottom));
    if (above.y >= screenTop + kScreenMargin && !coversKept(above)) {
        position = above;
    } else if (!coversKept(below)) {
        position = below;
    } else {
        const float middleY =
            KeptInside((float(rect.top + rect.bottom) - size.y) * 0.5f, size.y, screenTop, screenBottom);
        const Vector2 right(float(rect.right + 1), middleY);
        const Vector2 left(float(rect.left) - size.x, middleY);
        if (right.x + size.x <= float(screen.right) + 1.0f - kScreenMargin && !coversKept(right)) {
            position = right;
        } else if (left.x >= float(screen.left) + kScreenMargin && !coversKept(left)) {
            position = left;
        } else {
            position = below;
        }
    }
    position.y = KeptInside(position.y, size.y, screenTop, screenBottom);
}

// Queued with the screen texts, which are drawn after every window and the pointer, on
// a dark panel: the tip stays readable over whatever buttons and labels lie under it.
void ToolTip::Draw() const {
    if (!shown || text.IsEmpty()) return;
    if (ScreenTextQueue* queue = GetScreenTextQueue()) queue->QueueText(text, position, colour, true, true);
}

ToolTip& GetToolTip() {
    static ToolTip tip;
    return tip;
}
