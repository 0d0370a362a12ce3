#include "platform/gfx/GlApi.h"

#include <SDL2/SDL_video.h>

#include <cstdio>
#include <cstring>

namespace gfx {

// Fetches one entry point; `complete` turns false when the context lacks it.
#define VORNS_GL_LOAD(name)                                                     \
    name = reinterpret_cast<decltype(name)>(SDL_GL_GetProcAddress("gl" #name)); \
    complete = complete && name != nullptr;

bool GlApi::Load() {
    bool complete = true;
    VORNS_GL_FUNCTIONS(VORNS_GL_LOAD)
    return complete;
}

bool GlApi::LoadFramebuffers() {
    if (Version() < 30 && !HasExtension("GL_ARB_framebuffer_object")) return false;
    bool complete = true;
    VORNS_GL_FRAMEBUFFER_FUNCTIONS(VORNS_GL_LOAD)
    return complete;
}

#undef VORNS_GL_LOAD

int GlApi::Version() const {
    const char* text = reinterpret_cast<const char*>(GetString(GL_VERSION));
    int major = 0, minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) return 0;
    return major * 10 + minor;
}

bool GlApi::HasExtension(const char* name) const {
    const char* list = reinterpret_cast<const char*>(GetString(GL_EXTENSIONS));
    if (list == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name)) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == ' ' || p[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

}  // namespace gfx
