#pragma once
// A window without a system behind it: the test plays the user. Each call below is one
// piece of input as SDL would report it, and goes through the same translation as the
// SDL backend, so the pump returns exactly the messages a real window would.
#include <memory>
#include <string_view>

#include "platform/window/SystemWindow.h"

namespace win {

class ScriptedWindow final : public SystemWindow {
public:
    explicit ScriptedWindow(const WindowDesc& desc);
    // A scripted window over a hidden SDL window whose OpenGL surface the graphics layer
    // draws on; the surface's own input is dropped. Fails as the SDL window does.
    static WindowResult OpenOnGlSurface(const WindowDesc& desc);
    ~ScriptedWindow() override;

    // Presses the key and holds it; `repeats` auto-repeats follow. The left Alt key counts
    // as held while kKeyAlt is pressed here.
    void PressKey(int key, int repeats = 0);
    void ReleaseKey(int key);
    // Press and release.
    void TapKey(int key);
    // UTF-8 text as a text-input event delivers it (no control characters).
    void TypeText(std::string_view utf8);
    void MovePointer(int x, int y);
    // `clicks` is the click count of the press: 2 for the second press of a double click.
    void PressButton(MouseButton button, int clicks = 1);
    void ReleaseButton(MouseButton button);
    void Click(MouseButton button);
    void DoubleClick(MouseButton button);
    void TurnWheel(int notches);
    void SetFocus(bool gained);
    void RequestQuit();
    void CloseByUser();

    void Focus() override { SetFocus(true); }

    // What the window shows, for tests of the callers.
    const CursorImage& CustomCursor() const { return cursorImage_; }
    bool SystemCursorVisible() const { return systemCursorVisible_; }

    SDL_Window* NativeWindow() const override;

protected:
    bool PumpSystem(int timeoutMs) override;
    void ApplyTitle(const std::string&) override {}
    bool ApplyClientSize(int width, int height) override;
    bool ApplyFullScreen(bool fullScreen, int width, int height) override;
    void ApplyVisible(bool) override {}
    void ApplyCursorVisible(bool visible) override { systemCursorVisible_ = visible; }
    void ApplyArrowCursor() override {}
    bool ApplyCursorImage(const CursorImage& image) override;
    void ApplyPointerPosition(int, int) override {}

private:
    bool LeftAltDown() const { return IsKeyDown(kKeyAlt); }

    // The hidden window drawn on, when opened on a GL surface.
    std::unique_ptr<SystemWindow> surface_;
    CursorImage cursorImage_;
    bool systemCursorVisible_ = true;
};

}  // namespace win
