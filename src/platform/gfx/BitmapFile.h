#pragma once
// Windows bitmap (".bmp") pictures, read through SDL's reader into the core's Image.
#include <string_view>

#include "platform/gfx/Result.h"

class Image;

namespace gfx {

// NotFound when the file cannot be opened, BadFile when it is no bitmap SDL reads. The
// image keeps the picture's size; pixels without alpha come out opaque.
Result ReadBitmapFile(std::string_view path, Image& image);

}  // namespace gfx
