// Finding a text by the font's glyphs: found where the glyphs are drawn, at their scale,
// and not where the same places are solid boxes.
#include "support/GlyphFinder.h"

#include <gtest/gtest.h>

#include "engine/Font.h"

namespace {

using play_test::GlyphFinder;

constexpr Color kInk = Color(0xFFFFFFFF);
constexpr Color kGround = Color(0xFF203040);

// Cells of 8 x 8 texels; "I" is a bar with serifs, "L" an angle, both 6 texels wide.
struct SmallFont {
    SmallFont() : texture(8 * Font::kCellsPerSide, 8 * Font::kCellsPerSide) {
        texture.Fill(Color(0x00FFFFFF));
        for (int y = 0; y < 8; ++y) Ink('L', 1, y);
        for (int x = 1; x < 7; ++x) Ink('L', x, 7);
        for (int y = 0; y < 8; ++y) Ink('I', 3, y);
        for (int x = 1; x < 6; ++x) Ink('I', x, 0), Ink('I', x, 7);
        font.widths['L'] = font.widths['I'] = 6;
        font.spacing = 1;
    }
    void Ink(int code, int x, int y) { texture.At(code % 16 * 8 + 1 + x, code / 16 * 8 + y) = Color(0xFFFFFFFF); }

    Image texture;
    Font font;
};

// Draws the text as the renderer places glyph quads at scale 1 (a texel per pixel).
void Draw(Image& picture, const SmallFont& small, const char* text, int x, int y, bool boxes) {
    for (const char* c = text; *c != '\0'; ++c) {
        const int code = static_cast<unsigned char>(*c);
        for (int v = 0; v < 8; ++v) {
            for (int u = 0; u < 6; ++u) {
                const bool ink = (small.texture.At(code % 16 * 8 + 1 + u, code / 16 * 8 + v).argb >> 24) != 0;
                if (ink || boxes) picture.At(x + 1 + u, y + 1 + v) = kInk;
            }
        }
        x += 7;
    }
}

TEST(GlyphFinderTest, FindsGlyphsButNotBoxesNorAnotherText) {
    SmallFont small;
    const GlyphFinder finder(small.texture, small.font);
    Image picture(120, 40);
    picture.Fill(kGround);
    Draw(picture, small, "LIL", 10, 5, false);
    Draw(picture, small, "LIL", 60, 20, true);
    const IntRect all(0, 0, 120, 40);
    const auto found = finder.Find(picture, "LIL", all);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->topLeft.y, 5);
    EXPECT_EQ(found->scale, 1.0f);
    EXPECT_FALSE(finder.Find(picture, "LIL", IntRect(50, 0, 120, 40)));
    EXPECT_FALSE(finder.Find(picture, "ILI", all));
}

}  // namespace
