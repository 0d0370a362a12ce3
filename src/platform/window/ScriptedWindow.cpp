#include "platform/window/ScriptedWindow.h"

namespace win {

ScriptedWindow::ScriptedWindow(const WindowDesc& desc) : SystemWindow(desc) {}

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

bool ScriptedWindow::PumpSystem(int) { return false; }

bool ScriptedWindow::ApplyClientSize(int width, int height) {
    NoteClientSize(width, height);
    return true;
}

bool ScriptedWindow::ApplyFullScreen(bool, int width, int height) {
    NoteClientSize(width, height);
    return true;
}

bool ScriptedWindow::ApplyCursorImage(const CursorImage& image) {
    cursorImage_ = image;
    return true;
}

}  // namespace win
