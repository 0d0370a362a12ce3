#include "platform/window/ScriptedWindow.h"

#include <SDL2/SDL.h>

#include "platform/window/SdlWindow.h"

namespace win {

ScriptedWindow::ScriptedWindow(const WindowDesc& desc) : SystemWindow(desc) {}

ScriptedWindow::~ScriptedWindow() = default;

WindowResult ScriptedWindow::OpenOnGlSurface(const WindowDesc& desc) {
    WindowDesc hidden = desc;
    hidden.openGl = true;
    hidden.visible = false;
    // Full screen would switch the display; the surface only needs the client size.
    hidden.fullScreen = false;
    WindowResult opened = SdlWindow::Open(hidden);
    if (opened.window == nullptr) return opened;
    auto window = std::make_unique<ScriptedWindow>(desc);
    window->surface_ = std::move(opened.window);
    return {std::move(window), {}};
}

SDL_Window* ScriptedWindow::NativeWindow() const { return surface_ != nullptr ? surface_->NativeWindow() : nullptr; }

void ScriptedWindow::PressKey(int key, int repeats) {
    // The Alt key's own press already counts as Alt held, as keyboards report it.
    OnKey(key, true, false, LeftAltDown() || key == kKeyAlt);
    for (int i = 0; i < repeats; ++i) OnKey(key, true, true, LeftAltDown());
}

void ScriptedWindow::ReleaseKey(int key) { OnKey(key, false, false, key != kKeyAlt && LeftAltDown()); }

void ScriptedWindow::TapKey(int key) {
    PressKey(key);
    ReleaseKey(key);
}

void ScriptedWindow::TypeText(std::string_view utf8) { OnText(utf8, LeftAltDown()); }

void ScriptedWindow::MovePointer(int x, int y) { OnPointerMove(x, y); }

void ScriptedWindow::PressButton(MouseButton button, int clicks) {
    const Point at = PointerPosition();
    OnButton(button, true, clicks, at.x, at.y);
}

void ScriptedWindow::ReleaseButton(MouseButton button) {
    const Point at = PointerPosition();
    OnButton(button, false, 1, at.x, at.y);
}

void ScriptedWindow::Click(MouseButton button) {
    PressButton(button);
    ReleaseButton(button);
}

void ScriptedWindow::DoubleClick(MouseButton button) {
    PressButton(button, 1);
    ReleaseButton(button);
    PressButton(button, 2);
    ReleaseButton(button);
}

void ScriptedWindow::TurnWheel(int notches) { OnWheel(notches); }

void ScriptedWindow::SetFocus(bool gained) { OnFocus(gained); }

void ScriptedWindow::RequestQuit() { OnQuit(); }

void ScriptedWindow::CloseByUser() { OnClosed(); }

bool ScriptedWindow::PumpSystem(int) {
    // The surface's events are not input (the script is), but SDL's queue must not fill.
    if (surface_ != nullptr) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    return false;
}

bool ScriptedWindow::ApplyClientSize(int width, int height) {
    if (surface_ != nullptr && !surface_->SetClientSize(width, height)) return false;
    NoteClientSize(width, height);
    return true;
}

bool ScriptedWindow::ApplyFullScreen(bool, int width, int height) { return ApplyClientSize(width, height); }

bool ScriptedWindow::ApplyCursorImage(const CursorImage& image) {
    cursorImage_ = image;
    return true;
}

}  // namespace win
