#include "GlTestWindow.h"

#include <cstdlib>
#include <filesystem>

#include "core/Image.h"
#include "core/ThrowError.h"
#include "engine/Renderer.h"
#include "platform/window/SystemWindow.h"
#include "support/PlayerHarness.h"

namespace {
// Set once a GL context has been opened in this process.
bool glContextOpened = false;
}  // namespace

// Mesa's drivers keep allocations until the process ends, some in libraries they have
// already unloaded, so no suppression can name them: a process that opened a GL context
// skips the leak check at exit.
extern "C" int __lsan_is_turned_off() { return glContextOpened || play_test::PlayerHarness::OpenedGl() ? 1 : 0; }

namespace engine_test {

std::string OpenGlRenderer(int width, int height, std::unique_ptr<win::SystemWindow>& window, Renderer& renderer) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
    win::WindowDesc desc;
    desc.width = width;
    desc.height = height;
    desc.openGl = true;
    desc.visible = false;
    win::WindowResult opened = win::OpenWindow(win::WindowBackend::Sdl, desc);
    if (opened.window == nullptr) return "no GL window: " + opened.error;
    window = std::move(opened.window);
    glContextOpened = true;
    try {
        if (!renderer.InitWindowed(window.get(), 0)) return "no device";
    } catch (const ThrowError& error) {
        return std::string("no GL 2.1 context: ") + error.message.CStr();
    }
    return std::string();
}

std::string KeepPicture(const Image& frame, const char* name) {
    std::filesystem::create_directories("screenshots");
    const std::string path = std::filesystem::absolute(std::string("screenshots/") + name + ".tga").string();
    frame.SaveTGA(path);
    return path;
}

}  // namespace engine_test
