#include "platform/gfx/Adapter.h"

#include <algorithm>

#include "platform/gfx/GlDevice.h"
#include "platform/gfx/RecordingAdapter.h"

namespace gfx {

namespace {

class GlAdapter : public Adapter {
public:
    explicit GlAdapter(SDL_Window* window) : window_(window) {}

    const char* BackendName() const override { return "opengl"; }

    std::vector<DisplayMode> Modes() const override {
        std::vector<DisplayMode> modes;
        const int display = Display();
        for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; ++i) {
            SDL_DisplayMode mode{};
            if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
            const DisplayMode m{uint32_t(mode.w), uint32_t(mode.h), uint32_t(mode.refresh_rate)};
            if (std::find(modes.begin(), modes.end(), m) == modes.end()) modes.push_back(m);
        }
        return modes;
    }

    DisplayMode CurrentMode() const override {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(Display(), &mode) != 0) return {};
        return {uint32_t(mode.w), uint32_t(mode.h), uint32_t(mode.refresh_rate)};
    }

    Created<Device> CreateDevice(const PresentParams& params) override {
        Created<GlDevice> gl = GlDevice::Create(window_, params);
        return Created<Device>{gl.result, std::move(gl.object)};
    }

private:
    int Display() const { return window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : 0; }

    SDL_Window* window_;
};

}  // namespace

std::unique_ptr<Adapter> CreateAdapter(Backend backend, SDL_Window* window) {
    if (backend == Backend::OpenGl) return std::make_unique<GlAdapter>(window);
    return std::make_unique<RecordingAdapter>();
}

}  // namespace gfx
