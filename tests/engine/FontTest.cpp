// The bitmap font: measuring text, reading the width file, and the glyph quads the
// renderer builds from the texture (on the recording device).
#include <gtest/gtest.h>

#include "TestFont.h"
#include "engine/Font.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "support/TempFolder.h"

namespace {

using engine_test::TestGlyphWidth;

// Widths 10 for 'A' and 'B', 4 for 'i', 7 for a tab and 9 for 0xC9, which have no glyph.
Font MeasuringFont() {
    Font font;
    font.widths['A'] = 10;
    font.widths['B'] = 10;
    font.widths['i'] = 4;
    font.widths['\t'] = 7;
    font.widths[0xC9] = 9;
    font.lineHeight = 16.0f;
    return font;
}

TEST(FontTest, MeasuresTheWidestLineAndTheLineCount) {
    const Font font = MeasuringFont();
    Vector2 size;
    font.GetTextWidth(size, "A", 2.0f);
    EXPECT_EQ(size, Vector2(21, 32));  // 10 x 2 + spacing 1, unscaled
    // "AB" = 2 x 11 = 22; "iAi" = 5 + 11 + 5 = 21.
    font.GetTextWidth(size, "AB\niAi", 1.0f);
    EXPECT_EQ(size, Vector2(22, 32));
    font.GetTextWidth(size, "", 1.0f);
    EXPECT_EQ(size, Vector2(0, 0));
    font.GetTextWidth(size, "\n", 1.0f);
    EXPECT_EQ(size, Vector2(0, 32));
}

TEST(FontTest, CodesWithoutGlyphsNeitherCountNorAdvance) {
    const Font font = MeasuringFont();
    Vector2 plain, mixed;
    font.GetTextWidth(plain, "AB", 1.0f);
    font.GetTextWidth(mixed,
                      "A\t\xC9"
                      "B\x01",
                      1.0f);
    EXPECT_EQ(mixed, plain);
}

TEST(FontTest, ShortOrMissingWidthFileLeavesTheRestZero) {
    platform_test::TempFolder folder;
    engine_test::WriteTestFont(folder.Path(), "Short", 100);
    Font font;
    font.widths[200] = 5;
    EXPECT_FALSE(font.ReadWidths(String((folder / "Short.dat").c_str())));
    EXPECT_EQ(font.widths[99], TestGlyphWidth(99));
    EXPECT_EQ(font.widths[100], 0);
    EXPECT_EQ(font.widths[200], 0);
    EXPECT_FALSE(font.ReadWidths(String((folder / "None.dat").c_str())));
    EXPECT_EQ(font.widths[99], 0);
    // Widths are signed bytes.
    platform_test::WriteRaw(folder / "Signed.dat", std::string(256, '\xF6'));
    EXPECT_TRUE(font.ReadWidths(String((folder / "Signed.dat").c_str())));
    EXPECT_EQ(font.widths[255], -10);
}

TEST(FontTest, LoadingBuildsOneCentredQuadPerPrintableCode) {
    platform_test::TempFolder folder;
    const std::string texture = engine_test::WriteTestFont(folder.Path(), "Glyphs");
    Renderer renderer;
    Font font;
    renderer.LoadFont(font, String(texture.c_str()), 2);
    EXPECT_EQ(font.spacing, 2);
    EXPECT_EQ(font.lineHeight, 16.0f);
    EXPECT_EQ(font.glyphs[31], nullptr);
    EXPECT_EQ(font.glyphs[127], nullptr);
    EXPECT_EQ(font.widths[127], TestGlyphWidth(127));  // a width, yet no glyph
    // 'A' (65) is in column 1, row 4 and 6 texels wide: centred on texel 24 of 256.
    const Mesh* glyph = font.glyphs['A'];
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(*glyph->vertices[2].position, Vector3(6, 16, 0));
    EXPECT_EQ(glyph->vertices[0].texCoords[0], Vector2(21.0f / 256, 64.0f / 256));
    EXPECT_EQ(glyph->vertices[2].texCoords[0], Vector2(27.0f / 256, 80.0f / 256));
    EXPECT_EQ(glyph->GetMaterial()->stages[0].alphaOp, 4u);  // modulate: the colour's alpha fades it
}

TEST(FontTest, DrawingTextHandsBackTheCallersBlendingAndLighting) {
    platform_test::TempFolder folder;
    Renderer renderer;
    Font font;
    renderer.LoadFont(font, String(engine_test::WriteTestFont(folder.Path(), "Glyphs").c_str()), 1);
    gfx::Device& device = renderer.GetDevice();
    using RS = gfx::RenderState;
    // What a sprite leaves after a lit figure: blending off, lighting on, alpha test on.
    renderer.SetAdditiveBlend();
    renderer.SetBlendOff();
    renderer.EnableLighting();
    device.SetRenderState(RS::AlphaTestEnable, 1u);
    renderer.DrawText(String("Ab"), Vector2(0, 0), font, Color(0xFFFFFFFFu), 1.0f);
    EXPECT_EQ(device.GetRenderState(RS::AlphaBlendEnable), 0u);
    EXPECT_EQ(device.GetRenderState(RS::SrcBlend), uint32_t(gfx::Blend::One));
    EXPECT_EQ(device.GetRenderState(RS::DestBlend), uint32_t(gfx::Blend::One));
    EXPECT_EQ(device.GetRenderState(RS::Lighting), 1u);
    EXPECT_EQ(device.GetRenderState(RS::AlphaTestEnable), 1u);
}

}  // namespace
