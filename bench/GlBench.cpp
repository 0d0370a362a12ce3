#include "GlBench.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "core/ThrowError.h"
#include "engine/Renderer.h"
#include "platform/sys/Process.h"

std::unique_ptr<win::SystemWindow> OpenOffscreenGlWindow() {
    // Drawn with the C library's heap kept as the game keeps it.
    sys::KeepFreedMemoryForReuse();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 0);
    win::WindowDesc desc;
    desc.width = 1024;
    desc.height = 768;
    desc.openGl = true;
    desc.visible = false;
    return win::OpenWindow(win::WindowBackend::Sdl, desc).window;
}

std::unique_ptr<win::SystemWindow> OpenBenchRenderer(benchmark::State& state, Renderer& renderer) {
    std::unique_ptr<win::SystemWindow> window = OpenOffscreenGlWindow();
    if (window == nullptr) {
        state.SkipWithError("no GL window");
        return nullptr;
    }
    renderer.presentInterval = 0;
    try {
        if (!renderer.InitWindowed(window.get(), 0)) throw ThrowError();
    } catch (const ThrowError&) {
        state.SkipWithError("no GL 2.1 device");
        return nullptr;
    }
    return window;
}

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

}  // namespace

ProcessCpuPerFrame::ProcessCpuPerFrame() : start_(ProcessCpuSeconds()) {}

void ProcessCpuPerFrame::Report(benchmark::State& state) const {
    const double frames = std::max(double(state.iterations()), 1.0);
    state.counters["cpuMs"] = 1000.0 * (ProcessCpuSeconds() - start_) / frames;
}
