#pragma once
// Windows bitmap pictures: the painted models' source pictures, which the game converts
// to the TGA it draws with whenever a bitmap is not older than that TGA.
#include <string>

#include "core/Image.h"

namespace assetgen {

// 32 bits a pixel with an alpha mask, rows bottom-up as bitmaps store them.
std::string EncodeBmp(const Image& image);

}  // namespace assetgen
