// The window toolkit as the game's input step and drawing see it.
#include "ui/ToolkitWindows.h"

#include "engine/Mouse.h"
#include "game/Game.h"
#include "ui/EditBox.h"
#include "ui/ToolTip.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"
#include "ui/WindowManager.h"

// Only a drag begun on the open battlefield ends there wherever the button is let go; any
// other release goes to the window under the pointer, the battlefield among them.
bool ToolkitWindows::PreviewRelease(const InputEvent& input) {
    const bool pressedThere = battlefieldPressed_;
    battlefieldPressed_ = false;
    return pressedThere && IsBattlefieldOpen() && battlefield_->TakeDragRelease(input);
}

bool ToolkitWindows::OfferInput(const InputEvent& input) {
    if (input.IsKeyDown(kInputButtonLeft)) battlefieldPressed_ = IsBattlefieldAt(Point(input.x, input.y));
    if (input.IsKeyUp(kInputButtonLeft)) battlefieldPressed_ = false;
    return GetWindowManager().OfferInput(input);
}

bool ToolkitWindows::IsBattlefieldAt(const Point& point) const {
    if (!IsBattlefieldOpen()) return false;
    const Window* under = GetWindowManager().WindowAt(point);
    return under != nullptr && dynamic_cast<const BattlefieldView*>(under) == battlefield_;
}

void ToolkitWindows::BroadcastInput(const InputEvent& input) { GetWindowManager().BroadcastInput(input); }

void ToolkitWindows::HoverAt(const InputEvent& input) {
    WindowManager& manager = GetWindowManager();
    const Point point(input.x, input.y);
    manager.HoverAt(point);
    manager.UpdateFocus(point);
    const Window* top = manager.TopWindow();
    if (top != lastTop_ && battlefield_ != nullptr) battlefield_->ReleaseCameraKeys();
    lastTop_ = top;
    const Game* game = CurrentGame();
    GetToolTip().Update(game != nullptr ? game->frameTime : Game::kMinFrameTime);
}

bool ToolkitWindows::TakesCharacters() const { return EditBox::IsAnyOpen(); }

bool ToolkitWindows::ClaimsEscape(const InputEvent& input) { return GetWindowManager().ClaimsEscape(input); }

void ToolkitWindows::RenderWindows() {
    GetWindowManager().RenderAll();
    GetToolTip().Draw();
}

void ToolkitWindows::DrawZoomFrame(const IntRect& rect) {
    static WindowFrame zoomFrame;
    zoomFrame.colour = WindowFrame::kNormalColour;
    zoomFrame.LoadTextures();
    zoomFrame.SetRect(rect);
    zoomFrame.Draw();
}

bool ToolkitWindows::IsBattlefieldOpen() const { return battlefield_ != nullptr && battlefield_->IsOpen(); }

void ToolkitWindows::AimBattlefieldCamera(const Vector3& lookFrom, const Vector3& target) {
    if (battlefield_ != nullptr) battlefield_->AimCamera(lookFrom, target);
}

void ToolkitWindows::RefreshAndLayOut() {
    GetWindowManager().NotifyAll();
    LayOutWindows();
}

ToolkitWindows& GetToolkitWindows() {
    static ToolkitWindows windows;
    return windows;
}
