#pragma once
// Pictures for people to look at (contact sheets, renders) as PNG files, which any image
// viewer opens; the game itself reads only TGA.
#include <string>

#include "core/Image.h"

namespace assetgen {

std::string EncodePng(const Image& image);

}  // namespace assetgen
