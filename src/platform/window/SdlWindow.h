#pragma once
// The window on SDL2. SDL's keyboard, text, mouse and window events become the game's
// messages; SDL turns SIGTERM into a quit event, which the pump passes on as Quit.
#include <SDL2/SDL.h>

#include "platform/window/SystemWindow.h"

namespace win {

class SdlWindow final : public SystemWindow {
public:
    static WindowResult Open(const WindowDesc& desc);
    ~SdlWindow() override;

    void Focus() override;
    SDL_Window* NativeWindow() const override { return window_; }

protected:
    bool PumpSystem(int timeoutMs) override;
    void ApplyTitle(const std::string& title) override;
    bool ApplyClientSize(int width, int height) override;
    bool ApplyFullScreen(bool fullScreen, int width, int height) override;
    void ApplyVisible(bool visible) override;
    void ApplyCursorVisible(bool visible) override;
    void ApplyArrowCursor() override;
    bool ApplyCursorImage(const CursorImage& image) override;
    void ApplyPointerPosition(int x, int y) override;

private:
    explicit SdlWindow(const WindowDesc& desc);
    bool Create(const WindowDesc& desc, std::string& error);
    bool SwitchDisplayMode(int width, int height);
    bool LeaveFullScreen(int width, int height);
    bool IsOurs(Uint32 windowId) const;
    void Translate(const SDL_Event& event);
    void TranslateKey(const SDL_KeyboardEvent& event);
    void TranslateButton(const SDL_MouseButtonEvent& event);
    void TranslateWheel(const SDL_MouseWheelEvent& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void ReplaceCursor(SDL_Cursor* cursor);

    bool videoUp_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;  // the one we made; SDL owns the system arrow
    bool headless_ = false;         // offscreen or dummy driver: nothing is shown
    bool leftAltDown_ = false;
};

// Asks the software rasteriser that stands in for a graphics card for fewer threads than
// its one per core, unless the user has chosen a number (LP_NUM_THREADS). Only that
// rasteriser reads the variable, and only when GL is first loaded: call before a GL window
// is made.
void LimitSoftwareRasteriserThreads();

// The virtual-key code of an SDL key: by its key code where that names the key (letters,
// digits, punctuation follow the keyboard layout), otherwise by its position. 0 for keys
// without a code.
int VirtualKeyFromSdl(SDL_Keycode keycode, SDL_Scancode scancode);

}  // namespace win
