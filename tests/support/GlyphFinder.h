#pragma once
// Finds a text in a picture as the program's font draws it: each glyph's texels of the
// font texture, scaled and point-sampled the way the renderer places its glyph quads.
// A text drawn as solid boxes, or not drawn at all, is not found.
//
// The test is made of pairs: a pixel the glyphs cover and a neighbour they leave free.
// Where the text is, the covered pixel is brighter than the free one (or darker, for
// dark text), pair after pair; on a plain background or a box both look alike.
#include <optional>
#include <string>
#include <vector>

#include "core/Image.h"
#include "core/IntRect.h"
#include "core/Point.h"

class Font;

namespace play_test {

struct FoundText {
    Point topLeft;  // of the first glyph's quad
    float scale = 1.0f;
};

class GlyphFinder {
public:
    // Scales the program draws text at, most used first.
    static constexpr float kScales[] = {1.0f, 0.75f, 1.5f, 0.5f, 1.25f, 2.0f};

    // The font's texture (16 x 16 cells) and the font's widths and spacing.
    GlyphFinder(const Image& fontTexture, const Font& font);

    // The first place inside `area` where the text is drawn, at the scale when one is
    // given, else at any of kScales; none when it is not.
    std::optional<FoundText> Find(const Image& picture, const std::string& text, const IntRect& area,
                                  std::optional<float> scale = std::nullopt) const;

private:
    struct Pair {
        Point ink;
        Point free;
    };
    struct Mask {
        std::vector<Pair> pairs;
        int width = 0;
        int height = 0;
    };

    Mask MakeMask(const std::string& text, float scale, float offsetX, float offsetY) const;
    bool Covered(int code, float scale, float quadX, float quadY, int x, int y) const;
    bool MatchesAt(const Image& picture, const Mask& mask, int x, int y) const;

    const Image& texture_;
    const Font& font_;
    int cellWidth_;
    int cellHeight_;
};

}  // namespace play_test
