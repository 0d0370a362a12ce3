#include "FontMaker.h"

#include "Canvas.h"
#include "Glyphs.h"

namespace assetgen {

BitmapFont MakeFont() {
    BitmapFont font;
    Canvas canvas(16 * kFontCell, 16 * kFontCell);
    for (int code = 32; code <= 126; ++code) {
        const float left = float(code % 16 * kFontCell), top = float(code / 16 * kFontCell);
        DrawGlyphCentred(canvas, (unsigned char)code, left + kFontCell / 2.0f, top + 2, kFontGlyphScale,
                         RgbaFrom(255, 255, 255));
        int first = 0, last = 0;
        GlyphSpan((unsigned char)code, first, last);
        // One texel of air on each side keeps neighbouring glyphs from touching.
        font.widths[code] = int8_t((last - first + 1) * kFontGlyphScale + 2);
    }
    font.texture = canvas.ToImage();
    // Coverage lives in alpha; transparent texels stay white so filtering never darkens.
    for (int y = 0; y < font.texture.Height(); ++y) {
        for (int x = 0; x < font.texture.Width(); ++x) font.texture.At(x, y).argb |= 0x00FFFFFF;
    }
    return font;
}

}  // namespace assetgen
