#pragma once
// The bitmap font: a texture of 16 x 16 cells (code c at column c % 16, row c / 16), each
// glyph centred horizontally in its cell, white with its coverage in alpha, and the
// side file of 256 signed glyph widths in texels.
#include <array>
#include <cstdint>

#include "core/Image.h"

namespace assetgen {

constexpr int kFontCell = 32;
constexpr int kFontGlyphScale = 3;

struct BitmapFont {
    Image texture;
    std::array<int8_t, 256> widths{};
};

BitmapFont MakeFont();

}  // namespace assetgen
