#include "engine/Font.h"

#include "core/FileStream.h"

void Font::GetTextWidth(Vector2& size, const String& text, float scale) const {
    size = Vector2(0.0f, 0.0f);
    if (text.IsEmpty()) return;
    float x = 0.0f;
    int lines = 1;
    for (int i = 0; i < text.CharCount(); ++i) {
        const unsigned char code = static_cast<unsigned char>(text[i]);
        if (code == '\n') {
            x = 0.0f;
            ++lines;
            continue;
        }
        if (!IsPrintable(code)) continue;
        x += Advance(code, scale);
        if (x > size.x) size.x = x;
    }
    size.y = float(lines) * scale * lineHeight;
}

float Font::Advance(unsigned char code, float scale) const { return float(widths[code]) * scale + float(spacing); }

bool Font::ReadWidths(const String& widthFile) {
    for (int8_t& width : widths) width = 0;
    FileStream file(widthFile.CStr(), "rb");
    if (!file.IsOpen()) return false;
    for (int code = 0; code < kGlyphCount; ++code) {
        const int byte = file.GetChar();
        if (byte < 0) return false;
        widths[code] = static_cast<int8_t>(static_cast<uint8_t>(byte));
    }
    return true;
}

Font& GetFont() {
    static Font font;
    return font;
}
