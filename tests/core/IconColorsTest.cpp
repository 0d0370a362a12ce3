// Colour touch-ups of buttons and round icons.
#include <gtest/gtest.h>

#include "core/IconColors.h"
#include "core/Image.h"

namespace {

TEST(IconColorsTest, BrighteningScalesTheLargestChannelTo255) {
    // 255 / 40: 10 -> 63, 20 -> 127, 40 -> 255 in integer arithmetic.
    EXPECT_EQ(BrightenColor(Color::FromRGBA(10, 20, 40, 7)), Color::FromRGBA(63, 127, 255, 255));
    EXPECT_EQ(BrightenColor(Color::FromRGBA(0, 0, 0, 0)), Color::FromRGBA(255, 255, 255, 255));
    Color dark = Color::FromRGBA(50, 0, 0, 255), darker = Color::FromRGBA(0, 25, 0, 255);
    BrightenColorPair(dark, darker);
    EXPECT_EQ(dark, Color::FromRGBA(255, 0, 0, 255));
    EXPECT_EQ(darker, Color::FromRGBA(0, 127, 0, 255));
}

TEST(IconColorsTest, OnlyGreyPixelsFarFromTheCentreAreCut) {
    Image icon(8, 8);
    const Color grey = Color::FromRGBA(100, 104, 98, 255), red = Color::FromRGBA(200, 0, 0, 255);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) icon.At(x, y) = grey;
    }
    icon.At(7, 7) = red;
    ClearGreyOuterPixels(icon);
    EXPECT_EQ(icon.At(0, 0), Color());  // (16 + 16) / 32 = 1 > 0.28
    EXPECT_EQ(icon.At(4, 4), grey);     // the centre
    EXPECT_EQ(icon.At(5, 5), grey);     // 2 / 32
    EXPECT_EQ(icon.At(7, 7), red);      // coloured pixels stay anywhere
    Image tiny(1, 3);
    tiny.At(0, 0) = grey;
    ClearGreyOuterPixels(tiny);  // no outside to cut, and no division by zero
    EXPECT_EQ(tiny.At(0, 0), grey);
}

}  // namespace
