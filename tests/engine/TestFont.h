#pragma once
// A bitmap font made for the tests: a 256 x 256 texture of 16 x 16-texel cells and its
// ".dat" width file. Code c is TestGlyphWidth(c) texels wide (even, so the
// glyph's edges fall on texel edges when centred in its cell): an opaque white outline
// box over its rows 2 to 13 with one bar across row 2 + c mod 10, transparent elsewhere.
// The space is blank.
#include <string>

#include "core/Image.h"

namespace engine_test {

constexpr int kTestFontCell = 16;

int TestGlyphWidth(unsigned char code);
// Whether texel (column, row) of the glyph, counted from its own top-left, is opaque.
bool TestGlyphTexel(unsigned char code, int column, int row);
Image TestFontImage();
// Writes "<folder>/<title>.tga" and, unless widthBytes is 0, the first widthBytes of its
// ".dat"; the texture's path.
std::string WriteTestFont(const std::string& folder, const char* title, int widthBytes = 256);

}  // namespace engine_test
