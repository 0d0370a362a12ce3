#pragma once
// The one bitmap font: a texture of 16 x 16 glyph cells and a side file of 256 signed
// glyph widths in texels (the texture's name with ".dat"). The renderer makes one quad
// per printable character at load time (Renderer::LoadFont) and draws text by placing
// those quads one after another (Renderer::DrawText); the same widths measure text for
// layout everywhere.
//
// Only codes 32 to 126 have glyphs: every other byte (a tab, the upper half of a
// language file's code page) neither draws nor advances, when drawing and measuring alike.
#include <cstdint>

#include "core/String.h"
#include "core/Vector2.h"

class Mesh;

class Font {
public:
    static constexpr int kGlyphCount = 256;
    static constexpr int kCellsPerSide = 16;
    static constexpr unsigned char kFirstPrintable = 32;
    static constexpr unsigned char kLastPrintable = 126;

    static bool IsPrintable(unsigned char code) { return code >= kFirstPrintable && code <= kLastPrintable; }

    // The extent of the text drawn at the scale: the widest line, and the line count
    // times the scaled line height. An empty text measures (0, 0).
    void GetTextWidth(Vector2& size, const String& text, float scale) const;
    // The pen's advance after the glyph: its scaled width plus the unscaled spacing.
    float Advance(unsigned char code, float scale) const;

    // Reads the width file; entries the file does not hold (a short or missing file)
    // stay 0. False when the file gave fewer than 256 widths.
    bool ReadWidths(const String& widthFile);

    int32_t spacing = 1;             // pixels after every glyph, not scaled
    Mesh* glyphs[kGlyphCount] = {};  // owned by the renderer; none without a glyph
    int8_t widths[kGlyphCount] = {};
    float lineHeight = 0.0f;  // one glyph cell's height in texels
};

// The program's font, loaded at start-up.
Font& GetFont();
