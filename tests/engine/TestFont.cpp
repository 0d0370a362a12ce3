#include "TestFont.h"

#include <string>

#include "support/TempFolder.h"

namespace engine_test {

// Codes without a glyph get widths too, so a text that advanced over them would show it.
int TestGlyphWidth(unsigned char code) { return 4 + 2 * (code % 4); }

bool TestGlyphTexel(unsigned char code, int column, int row) {
    const int width = TestGlyphWidth(code);
    if (code == ' ' || code < 32 || code > 126 || column < 0 || column >= width || row < 2 || row > 13) return false;
    return column == 0 || column == width - 1 || row == 2 || row == 13 || row == 2 + code % 10;
}

Image TestFontImage() {
    Image image(16 * kTestFontCell, 16 * kTestFontCell);
    image.Fill(Color(0));
    for (int code = 32; code <= 126; ++code) {
        const int left = (code % 16) * kTestFontCell + (kTestFontCell - TestGlyphWidth(code)) / 2;
        const int top = (code / 16) * kTestFontCell;
        for (int row = 0; row < kTestFontCell; ++row) {
            for (int column = 0; column < TestGlyphWidth(code); ++column) {
                if (TestGlyphTexel(code, column, row)) image.At(left + column, top + row) = Color(0xFFFFFFFFu);
            }
        }
    }
    return image;
}

std::string WriteTestFont(const std::string& folder, const char* title, int widthBytes) {
    const std::string texture = folder + "/" + title + ".tga";
    TestFontImage().SaveTGA(texture);
    if (widthBytes > 0) {
        std::string widths;
        for (int code = 0; code < widthBytes; ++code) widths += char(TestGlyphWidth(static_cast<unsigned char>(code)));
        platform_test::WriteRaw(folder + "/" + title + ".dat", widths);
    }
    return texture;
}

}  // namespace engine_test
