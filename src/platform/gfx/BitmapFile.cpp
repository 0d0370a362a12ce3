#include "platform/gfx/BitmapFile.h"

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/Image.h"
#include "platform/sys/Paths.h"

namespace gfx {

Result ReadBitmapFile(std::string_view path, Image& image) {
    const std::string resolved = sys::ResolvePath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(resolved, error)) return Result::NotFound;
    SDL_Surface* loaded = SDL_LoadBMP(resolved.c_str());
    if (loaded == nullptr) return Result::BadFile;
    // ARGB8888 is a packed 32-bit format: each pixel is the core's Color as it stands.
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) return Result::BadFile;
    image.Resize(converted->w, converted->h);
    const auto* bytes = static_cast<const uint8_t*>(converted->pixels);
    for (int y = 0; y < converted->h; ++y) {
        std::memcpy(&image.At(0, y), bytes + size_t(y) * size_t(converted->pitch), size_t(converted->w) * 4);
    }
    SDL_FreeSurface(converted);
    return Result::Ok;
}

}  // namespace gfx
