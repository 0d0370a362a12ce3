#pragma once
// An offscreen GL window with the renderer on it, for the screenshot tests, and a place
// under the build folder where the frames they check are kept for a person to look at.
#include <memory>
#include <string>

class Image;
class Renderer;
namespace win {
class SystemWindow;
}

namespace engine_test {

// Opens a hidden GL 2.1 window of the size under SDL's offscreen driver and starts the
// renderer on it. Empty when it worked, otherwise why not (the caller skips).
std::string OpenGlRenderer(int width, int height, std::unique_ptr<win::SystemWindow>& window, Renderer& renderer);

// Writes the frame as "screenshots/<name>.tga" beside the test program (the build
// folder's tests/screenshots); the path written.
std::string KeepPicture(const Image& frame, const char* name);

}  // namespace engine_test
