#include "support/GlyphFinder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/Font.h"

namespace play_test {

namespace {

// A glyph quad starts half a pixel in (the renderer's texel centre); where exactly its
// pixels fall depends on the text's fractional place and on the rasteriser, so quarter
// pixel phases are tried.
constexpr float kQuadOffset = 0.5f;
constexpr float kPhases[] = {0.0f, 0.25f, 0.5f, 0.75f};
// The least difference in brightness between a covered pixel and its free neighbour
// (0..255): glyph edges are filtered, so the text's own colour varies.
constexpr int kMinContrast = 24;
// Share of pairs that may fail where the text is (edges of scaled glyphs).
constexpr float kAllowedMisses = 0.25f;
// Pairs of the sample tried before all of them.
constexpr size_t kSamplePairs = 24;
// Fewer pairs than this cannot tell a text from noise.
constexpr size_t kMinPairs = 6;

int Brightness(Color colour) {
    const int red = int((colour.argb >> 16) & 0xFF), green = int((colour.argb >> 8) & 0xFF),
              blue = int(colour.argb & 0xFF);
    return (red * 3 + green * 4 + blue) / 8;
}

}  // namespace

GlyphFinder::GlyphFinder(const Image& fontTexture, const Font& font)
    : texture_(fontTexture),
      font_(font),
      cellWidth_(fontTexture.Width() / Font::kCellsPerSide),
      cellHeight_(fontTexture.Height() / Font::kCellsPerSide) {}

bool GlyphFinder::Covered(int code, float scale, float quadX, float quadY, int x, int y) const {
    const int width = font_.widths[code];
    const float left = float(code % Font::kCellsPerSide * cellWidth_) + float(cellWidth_ - width) * 0.5f;
    const int texelX = int(std::floor(left + (float(x) - quadX) / scale));
    const int texelY = code / Font::kCellsPerSide * cellHeight_ + int(std::floor((float(y) - quadY) / scale));
    const int cellLeft = code % Font::kCellsPerSide * cellWidth_;
    if (texelX < cellLeft || texelX >= cellLeft + cellWidth_ || texelY < 0 || texelY >= texture_.Height()) return false;
    return (texture_.At(texelX, texelY).argb >> 24) >= 128;
}

GlyphFinder::Mask GlyphFinder::MakeMask(const std::string& text, float scale, float offsetX, float offsetY) const {
    Mask mask;
    float penX = offsetX, penY = offsetY, widest = 0.0f;
    struct Placed {
        int code;
        float x, y;
    };
    std::vector<Placed> placed;
    for (char c : text) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code == '\n') {
            penX = offsetX;
            penY += float(cellHeight_) * scale;
            continue;
        }
        if (!Font::IsPrintable(code)) continue;
        placed.push_back({code, penX + kQuadOffset, penY + kQuadOffset});
        penX += font_.Advance(code, scale);
        widest = std::max(widest, penX);
    }
    mask.width = int(std::ceil(widest)) + 2;
    mask.height = int(std::ceil(penY + float(cellHeight_) * scale)) + 2;
    std::vector<uint8_t> ink(size_t(mask.width) * size_t(mask.height), 0);
    for (const Placed& glyph : placed) {
        const float right = glyph.x + float(font_.widths[glyph.code]) * scale;
        const float bottom = glyph.y + float(cellHeight_) * scale;
        for (int y = int(std::ceil(glyph.y)); float(y) < bottom; ++y) {
            for (int x = int(std::ceil(glyph.x)); float(x) < right; ++x) {
                if (Covered(glyph.code, scale, glyph.x, glyph.y, x, y))
                    ink[size_t(y) * size_t(mask.width) + size_t(x)] = 1;
            }
        }
    }
    const auto isInk = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < mask.width && y < mask.height &&
               ink[size_t(y) * size_t(mask.width) + size_t(x)] != 0;
    };
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (!isInk(x, y)) continue;
            for (const Point step : {Point(1, 0), Point(-1, 0), Point(0, 1), Point(0, -1)}) {
                const Point free(x + step.x, y + step.y);
                if (free.x < 0 || free.y < 0 || isInk(free.x, free.y)) continue;
                mask.pairs.push_back({Point(x, y), free});
                break;
            }
        }
    }
    return mask;
}

bool GlyphFinder::MatchesAt(const Image& picture, const Mask& mask, int x, int y) const {
    const auto contrast = [&](const Pair& pair) {
        return Brightness(picture.At(x + pair.ink.x, y + pair.ink.y)) -
               Brightness(picture.At(x + pair.free.x, y + pair.free.y));
    };
    // A spread sample first, which most places fail at once. It also tells light text on
    // a dark ground from dark text on a light one: the same way round for every glyph.
    const size_t step = std::max<size_t>(mask.pairs.size() / kSamplePairs, 1);
    size_t lighter = 0, darker = 0, sampled = 0;
    for (size_t i = step / 2; i < mask.pairs.size(); i += step, ++sampled) {
        const int difference = contrast(mask.pairs[i]);
        lighter += difference >= kMinContrast ? 1 : 0;
        darker += difference <= -kMinContrast ? 1 : 0;
    }
    const size_t allowedInSample = size_t(float(sampled) * kAllowedMisses);
    if (sampled - std::max(lighter, darker) > allowedInSample) return false;
    const int sign = lighter >= darker ? 1 : -1;
    const size_t allowed = size_t(float(mask.pairs.size()) * kAllowedMisses);
    size_t misses = 0;
    for (const Pair& pair : mask.pairs) {
        if (contrast(pair) * sign < kMinContrast && ++misses > allowed) return false;
    }
    return true;
}

std::optional<FoundText> GlyphFinder::Find(const Image& picture, const std::string& text, const IntRect& area,
                                           std::optional<float> onlyScale) const {
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.right, picture.Width()), bottom = std::min(area.bottom, picture.Height());
    const std::vector<float> scales =
        onlyScale ? std::vector<float>{*onlyScale} : std::vector<float>(std::begin(kScales), std::end(kScales));
    for (float scale : scales) {
        for (float phaseY : kPhases) {
            for (float phaseX : kPhases) {
                const Mask mask = MakeMask(text, scale, phaseX, phaseY);
                if (mask.pairs.size() < kMinPairs) continue;
                for (int y = top; y + mask.height <= bottom; ++y) {
                    for (int x = left; x + mask.width <= right; ++x) {
                        if (MatchesAt(picture, mask, x, y)) return FoundText{Point(x, y), scale};
                    }
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace play_test
