// The pattern debugger.
#include "battlefield/DebugWindow.h"

#include <algorithm>
#include <iterator>

#include "battlefield/OwnerPictures.h"
#include "battlefield/PatternWindow.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/GameListener.h"
#include "game/PlayerRoster.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Pattern.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {
constexpr Color kCurrentRingColour = Color(0xFFFF0000);
constexpr Color kSelectedRingColour = Color(0xFF00FFFF);
constexpr Color kPreviewBackground = Color(0xFF324B4B);
constexpr int32_t kButtonSize = 48;

IntRect Grown(const IntRect& r, int32_t m) { return IntRect(r.left - m, r.top - m, r.right + m, r.bottom + m); }

void DrawRing(Sprite* ring, const IntRect& r) {
    if (ring == nullptr) return;
    ring->x = r.left;
    ring->y = r.top;
    ring->width = r.right - r.left;
    ring->height = r.bottom - r.top;
    GetRenderer().DrawSprite(*ring);
}

// Step and play start the world from the editor just as the control tray's play does, so
// the field as it stands becomes the play point to go back to. A step from a world the
// debugger alone holds keeps the play point where the run began.
void RunWorld(Game& game) {
    if (game.playerPaused != 0 && gArena != nullptr) gArena->SaveScenario("__Temp");
    game.SetPaused(false);
}
}  // namespace

DebugWindow::DebugWindow() : Window("DebugWindow") {
    movable = true;
    closeButton = true;
    resizable = false;
    passesInput = true;
    backgroundShown = true;
    for (IntRect& cell : cells) cell = IntRect(0, 0, kCellSize, kCellSize);
    Initialize();
}

void DebugWindow::CreateResources() {
    currentRing_ = CreateUiSprite(50, 50, "MenuHighlight.tga", Sprite::kAnchorTopLeft);
    TintSprite(currentRing_, kCurrentRingColour);
    selectedRing_ = CreateUiSprite(50, 50, "MenuHighlight.tga", Sprite::kAnchorTopLeft);
    TintSprite(selectedRing_, kSelectedRingColour);
    buttons_ = GetRenderer().CreateSpriteGrid();
    buttonSprites_[kStep] = CreateUiSprite(kButtonSize, kButtonSize, "StepButton.tga", Sprite::kAnchorCentre);
    buttonSprites_[kPlay] = CreateUiSprite(kButtonSize, kButtonSize, "PlayButton.tga", Sprite::kAnchorCentre);
    buttons_->AddItem(buttonSprites_[kStep], String(), true);
    buttons_->AddItem(buttonSprites_[kPlay], String(), true);
    buttons_->SetLayoutMode(SpriteGrid::kLayoutRows);
    Refresh();
}

void DebugWindow::ReleaseResources() {
    currentRing_ = nullptr;
    selectedRing_ = nullptr;
    std::fill(std::begin(buttonSprites_), std::end(buttonSprites_), nullptr);
    buttons_ = nullptr;
    Window::ReleaseResources();
}

int32_t DebugWindow::ShownCount() const { return vorn != nullptr ? std::clamp(vorn->patternCount, 0, kMaxCells) : 0; }

void DebugWindow::SetVorn(Vorn* debugged) {
    vorn = debugged;
    if (vorn == nullptr) return;
    const int32_t n = ShownCount();
    const int32_t columns = n > kColumns ? kColumns : n;
    const int32_t rows = n > kColumns ? 2 : 1;
    Resize(Point(kCellPitch * columns + 3, kCellPitch * rows + kButtonSize + 6));
    Refresh();
}

void DebugWindow::Refresh() {
    if (vorn == nullptr) return;
    if (buttons_ != nullptr) buttons_->Layout(Point(left, top + 1));
    const int32_t n = ShownCount();
    for (int32_t i = 0; i < n; ++i) {
        const int32_t x = left + 2 + kCellPitch * (i % kColumns);
        const int32_t y = top + kButtonSize + 3 + kCellPitch * (i / kColumns);
        cells[i] = IntRect(x, y, x + kCellSize, y + kCellSize);
    }
    dirty = true;
}

void DebugWindow::OnOpen() {
    if (vorn != nullptr && vorn->owner != nullptr) PaintPatternPictures(*vorn->owner);
    const bool own = vorn != nullptr && vorn->owner == &GetLocalPlayer();
    GetPatternWindow().SetEditMode(own);
    Refresh();
}

void DebugWindow::OnClose() {
    Game* game = CurrentGame();
    if (game == nullptr) return;
    if (game->DebuggedVorn() != nullptr) game->SelectVorn(nullptr);
    game->debugPaused = 0;
    if (GameListener* listener = GetGameListener()) listener->OnControlsChanged();
}

int32_t DebugWindow::CellAt(const Point& point) const {
    const int32_t n = ShownCount();
    for (int32_t i = 0; i < n; ++i) {
        if (cells[i].Contains(point)) return i;
    }
    return -1;
}

bool DebugWindow::OnButton(int32_t button, const Point& point) const {
    return buttonSprites_[button] != nullptr && buttonSprites_[button]->Contains(point);
}

void DebugWindow::DrawContents() {
    if (vorn == nullptr) return;
    const int32_t n = ShownCount();
    const Pattern* selected = vorn->debuggerPattern;
    const Pattern* current = vorn->currentPattern;
    const auto isHovered = [&](int32_t i) { return i == hoveredCell; };
    int32_t selectedIndex = -1;
    int32_t currentIndex = -1;
    for (int32_t i = 0; i < n; ++i) {
        const Pattern* pattern = &vorn->PatternAt(i);
        if (pattern == selected) selectedIndex = i;
        if (pattern == current) currentIndex = i;
        if (pattern != selected && pattern != current && !isHovered(i)) DrawPattern(i, false);
    }
    // The rings of the selected and current patterns go last, so no neighbour covers them.
    if (selectedIndex >= 0 && !isHovered(selectedIndex)) DrawPattern(selectedIndex, false);
    if (currentIndex >= 0 && currentIndex != selectedIndex && !isHovered(currentIndex))
        DrawPattern(currentIndex, false);
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    if (buttons_ != nullptr) renderer.DrawSpriteGrid(*buttons_, true);
    if (hoveredCell >= 0 && hoveredCell < n) DrawPattern(hoveredCell, true);
    renderer.SetBlendOff();
    SetDepthTest(true);
    hoveredCell = -1;
}

void DebugWindow::DrawPattern(int32_t index, bool enlarged) {
    const IntRect& cell = cells[index];
    const int32_t w = cell.right - cell.left + 1;
    IntRect view(cell.left, cell.top + 1, cell.right, cell.bottom + 1);
    if (enlarged) view = Grown(view, w / 4);
    preview_.Draw(vorn->PatternAt(index), view, kPreviewBackground);
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    const Pattern* pattern = &vorn->PatternAt(index);
    if (pattern == vorn->debuggerPattern) {
        DrawRing(selectedRing_, Grown(cell, enlarged ? (w * 10 / 4) / 6 + 3 : w / 9 + 2));
    }
    if (pattern == vorn->currentPattern) DrawRing(currentRing_, Grown(cell, enlarged ? (w * 10 / 4) / 6 : w / 9));
    renderer.SetBlendOff();
    SetDepthTest(true);
}

void DebugWindow::HitTestControls(const Point& point) {
    if (buttons_ != nullptr) buttons_->UpdateHover(point);
    hoveredCell = CellAt(point);
    Window::HitTestControls(point);
}

bool DebugWindow::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.kind == kInputDown && input.code == kInputButtonLeft) {
        pressedCell = CellAt(p);
        stepPressed = OnButton(kStep, p);
        playPressed = OnButton(kPlay, p);
        if (pressedCell >= 0 || stepPressed || playPressed) return true;
    } else if (input.kind == kInputUp && input.code == kInputButtonLeft) {
        const int32_t cell = pressedCell;
        const bool step = stepPressed;
        const bool play = playPressed;
        pressedCell = -1;
        stepPressed = playPressed = false;
        if (cell >= 0 && CellAt(p) == cell) {
            PostEventInt(kEventDebugSelectPattern, cell);
            return true;
        }
        if (step && OnButton(kStep, p)) {
            PostEvent(kEventUnpauseDebug);
            return true;
        }
        if (play && OnButton(kPlay, p)) {
            PostEvent(kEventUnpauseNoDebug);
            PostEvent(kEventCloseWindow);
            return true;
        }
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void DebugWindow::HandleCommand(Event& event) {
    Game* game = CurrentGame();
    switch (event.type) {
        case kEventDebugSelectPattern:
            // A script may name a pattern the unit does not show.
            if (vorn == nullptr || event.value < 0 || event.value >= ShownCount()) {
                PlayUiSound("Illegal.ogg");
                return;
            }
            vorn->debuggerPattern = &vorn->PatternAt(event.value);
            return;
        case kEventUnpauseDebug:
            // The hold goes first: unpausing tells the trays what the world now does.
            if (game != nullptr) {
                game->debugPaused = 0;
                RunWorld(*game);
            }
            return;
        case kEventUnpauseNoDebug:
            if (game != nullptr) RunWorld(*game);
            GetWindowManager().CloseWindow(this);
            return;
        default: Window::HandleCommand(event);
    }
}

void DebugWindow::GetToolTip() {
    const Point pointer = GetMouse().position;
    const int32_t cell = CellAt(pointer);
    if (cell >= 0) {
        const IntRect& r = cells[cell];
        const int32_t q = (r.right - r.left) / 4;
        ::GetToolTip().Set(GetLanguageText("Pattern") + " " + String::FromInt(cell + 1), Grown(r, q));
        return;
    }
    if (buttons_ != nullptr && (buttons_->hovered == kStep || buttons_->hovered == kPlay)) {
        const int32_t b = buttons_->hovered;
        ::GetToolTip().SetForItem(GetLanguageText(b == kStep ? "DebugStep" : "DebugPlay"), *buttons_,
                                  *buttonSprites_[b]);
        return;
    }
    Window::GetToolTip();
}

DebugWindow& GetDebugWindow() {
    static DebugWindow debugWindow;
    return debugWindow;
}
