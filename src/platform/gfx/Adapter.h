#pragma once
// The display adapter: its display modes and the device made on it. The backend is
// chosen at run time; everything above this layer sees only Adapter and Device.
#include <SDL2/SDL_video.h>

#include <memory>
#include <vector>

#include "platform/gfx/Device.h"

namespace gfx {

enum class Backend { OpenGl, Recording };

class Adapter {
public:
    virtual ~Adapter() = default;

    virtual const char* BackendName() const = 0;
    // Every full-screen mode, largest first.
    virtual std::vector<DisplayMode> Modes() const = 0;
    virtual DisplayMode CurrentMode() const = 0;
    // Windowed (params.windowed): the back buffer is the window's client area. Full
    // screen: the window switches to the mode of exactly the back-buffer size.
    // NotAvailable when that cannot be done, including a multisample count the
    // adapter does not offer (callers retry with fewer samples).
    virtual Created<Device> CreateDevice(const PresentParams& params) = 0;
};

// OpenGl needs a window created with SDL_WINDOW_OPENGL (see
// PrepareGlWindowAttributes); Recording ignores the window.
std::unique_ptr<Adapter> CreateAdapter(Backend backend, SDL_Window* window);

}  // namespace gfx
