#pragma once
// The game's own letter shapes: a 5 x 9 pixel design for the codes 32 to 126 (rows 0 to 6
// hold capitals and digits, rows 7 and 8 the descenders). Both the font texture and the
// labels painted on icons are drawn from it.
#include <array>
#include <cstdint>
#include <string_view>

#include "Canvas.h"

namespace assetgen {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 9;

// Row bits of a glyph, bit 4 the leftmost column; all zero for codes without a glyph.
const std::array<uint8_t, kGlyphRows>& GlyphRows(unsigned char code);
// First and last used column; a glyph without pixels (the blank) spans three columns.
void GlyphSpan(unsigned char code, int& first, int& last);
int GlyphAdvance(unsigned char code);  // used columns plus one column of spacing

// Width in pixels of a text drawn at a pixel scale.
float TextWidth(std::string_view text, float scale);
// Draws a text with its top-left corner at (x, y); each glyph pixel is a square of
// scale pixels with anti-aliased edges.
void DrawText(Canvas& canvas, std::string_view text, float x, float y, float scale, Rgba colour);
// Draws a glyph's used columns centred on a point.
void DrawGlyphCentred(Canvas& canvas, unsigned char code, float centreX, float top, float scale, Rgba colour);

}  // namespace assetgen
