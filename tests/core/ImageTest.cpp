#include "core/Image.h"

#include <gtest/gtest.h>

#include "core/StringHash.h"

namespace {

Color Rgba(int r, int g, int b, int a) {
    return Color::FromRGBA(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
                           static_cast<uint8_t>(a));
}

TEST(ImageTest, HalvingASinglePixelGivesAnEmptyImage) {
    Image one(1, 1);
    Image result(5, 5);
    one.HalfSize(result);
    EXPECT_EQ(result.Width(), 0);
    EXPECT_EQ(result.Height(), 0);
    EXPECT_TRUE(result.IsEmpty());
}

TEST(ImageTest, HalvingThreeByThreeUsesOnlyTheWindowAroundTheCentre) {
    Image image(3, 3);
    image.Fill(Rgba(255, 255, 0, 255));  // row and column 2 lie outside the window
    image.At(0, 0) = Rgba(0, 0, 0, 255);
    image.At(1, 0) = Rgba(100, 0, 40, 255);
    image.At(0, 1) = Rgba(200, 0, 40, 255);
    image.At(1, 1) = Rgba(100, 0, 0, 255);
    Image result;
    image.HalfSizePlain(result);
    ASSERT_EQ(result.Width(), 1);
    ASSERT_EQ(result.Height(), 1);
    // The four pixels all lie at squared distance 0.5: equal weights.
    EXPECT_EQ(result.At(0, 0), Rgba(100, 0, 20, 255));
}

TEST(ImageTest, HalvingWeighsByInverseSquaredDistance) {
    Image image(4, 4);
    image.Fill(Rgba(0, 0, 0, 0));
    image.At(1, 1) = Rgba(255, 0, 0, 255);
    Image result;
    image.HalfSizePlain(result);
    // (0, 0): four samples of weight 2, the red one among them: 255 * 2 / 8.
    EXPECT_EQ(result.At(0, 0), Rgba(64, 0, 0, 64));
    // (1, 1): the red pixel is the far corner, weight 1/4.5 of 2/9 + 4 * 0.4 + 4 * 2:
    // 255 * 10 / 442 = 5.77.
    EXPECT_EQ(result.At(1, 1), Rgba(6, 0, 0, 6));
}

TEST(ImageTest, KeyedHalvingKeepsNearWhiteOutWhileOtherPixelsRemain) {
    Image image(2, 2);
    image.Fill(Rgba(250, 255, 248, 255));
    image.At(1, 0) = Rgba(255, 0, 0, 255);
    Image keyed;
    Image plain;
    image.HalfSize(keyed);
    image.HalfSizePlain(plain);
    EXPECT_EQ(keyed.At(0, 0), Rgba(255, 0, 0, 255));
    EXPECT_EQ(plain.At(0, 0), Rgba(251, 191, 186, 255));  // (250*3+255)/4, 255*3/4, 248*3/4

    image.Fill(Rgba(250, 255, 248, 255));
    image.HalfSize(keyed);
    EXPECT_EQ(keyed.At(0, 0), Rgba(250, 255, 248, 255));  // nothing but key: the plain mean
}

TEST(ImageTest, BlitBlendsBySourceAlphaAndKeepsTheLargerAlpha) {
    Image destination(2, 1);
    destination.Fill(Rgba(10, 20, 30, 200));
    Image source(2, 1);
    source.At(0, 0) = Rgba(250, 120, 30, 128);
    source.At(1, 0) = Rgba(1, 2, 3, 255);
    destination.Blit(source, 0, 0);
    // (250 * 128 + 10 * 127) / 255 = 130.5; (120 * 128 + 20 * 127) / 255 = 70.2.
    EXPECT_EQ(destination.At(0, 0), Rgba(130, 70, 30, 200));
    EXPECT_EQ(destination.At(1, 0), Rgba(1, 2, 3, 255));
}

TEST(ImageTest, BlitIsClippedOnEverySide) {
    Image destination(2, 2);
    destination.Fill(Rgba(0, 0, 0, 255));
    Image source(2, 2);
    source.Fill(Rgba(9, 9, 9, 255));
    source.At(1, 1) = Rgba(50, 60, 70, 255);
    destination.Blit(source, -1, -1);
    EXPECT_EQ(destination.At(0, 0), Rgba(50, 60, 70, 255));
    EXPECT_EQ(destination.At(1, 1), Rgba(0, 0, 0, 255));
    destination.Blit(source, 1, 1);
    EXPECT_EQ(destination.At(1, 1), Rgba(9, 9, 9, 255));
    EXPECT_EQ(destination.At(1, 0), Rgba(0, 0, 0, 255));
    destination.Blit(source, 5, -7);
    destination.Blit(destination, 1, 0);
    EXPECT_EQ(destination.At(1, 0), Rgba(50, 60, 70, 255));
}

TEST(ImageTest, RecolourKeepsGreyAndMapsPureRedToTheFirstColour) {
    Image image(4, 1);
    image.At(0, 0) = Rgba(90, 90, 90, 77);
    image.At(1, 0) = Rgba(255, 0, 0, 10);
    image.At(2, 0) = Rgba(150, 50, 50, 255);  // grey 50 plus a red remainder of 100
    image.At(3, 0) = Rgba(0, 255, 255, 255);
    image.Recolour(Rgba(0, 255, 0, 0), Rgba(1, 2, 3, 0), Rgba(40, 50, 60, 0));
    EXPECT_EQ(image.At(0, 0), Rgba(90, 90, 90, 77));
    EXPECT_EQ(image.At(1, 0), Rgba(0, 255, 0, 10));
    EXPECT_EQ(image.At(2, 0), Rgba(50, 150, 50, 255));
    EXPECT_EQ(image.At(3, 0), Rgba(41, 52, 63, 255));
}

TEST(ImageTest, RecolourClampsSumsAboveFullAndHonoursTheFlags) {
    Image image(2, 1);
    image.At(0, 0) = Rgba(255, 255, 10, 255);  // grey 10, red and green remainders 245
    image.At(1, 0) = Rgba(255, 0, 0, 255);
    Image unchanged = image;
    image.Recolour(Rgba(200, 200, 0, 255), Rgba(255, 0, 0, 255), Color());
    // Red: 200 * 245/255 + 255 * 245/255 + 10 = 447 without the clamp.
    EXPECT_EQ(image.At(0, 0), Rgba(255, 202, 10, 255));
    unchanged.Recolour(Rgba(1, 1, 1, 1), Rgba(2, 2, 2, 2), Rgba(3, 3, 3, 3), false, false, false);
    EXPECT_EQ(unchanged.At(0, 0), Rgba(255, 255, 10, 255));
    EXPECT_EQ(unchanged.At(1, 0), Rgba(255, 0, 0, 255));
}

TEST(ImageTest, BlendBlitRecoloursRedAndGreenAndKeepsBlue) {
    Image destination(3, 2);
    destination.Fill(Rgba(100, 100, 100, 255));
    Image source(3, 1);
    source.At(0, 0) = Rgba(255, 0, 0, 255);
    source.At(1, 0) = Rgba(0, 255, 0, 255);
    source.At(2, 0) = Rgba(0, 0, 255, 255);
    const Image original = source;
    destination.BlendBlit(source, 1, 1, Rgba(10, 20, 30, 255), Rgba(40, 50, 60, 255));
    EXPECT_EQ(destination.At(1, 1), Rgba(10, 20, 30, 255));
    EXPECT_EQ(destination.At(2, 1), Rgba(40, 50, 60, 255));
    EXPECT_EQ(destination.At(0, 1), Rgba(100, 100, 100, 255));
    EXPECT_EQ(destination.At(2, 0), Rgba(100, 100, 100, 255));
    EXPECT_EQ(source.At(0, 0), original.At(0, 0));  // the source is left as it was
}

TEST(ImageTest, CopyAlphaFromNeedsTheSameSize) {
    Image image(2, 1);
    image.Fill(Rgba(1, 2, 3, 4));
    Image mask(2, 1);
    mask.At(1, 0) = Rgba(0, 0, 0, 200);
    image.CopyAlphaFrom(mask);
    EXPECT_EQ(image.At(0, 0), Rgba(1, 2, 3, 0));
    EXPECT_EQ(image.At(1, 0), Rgba(1, 2, 3, 200));
    image.CopyAlphaFrom(Image(1, 2));
    EXPECT_EQ(image.At(1, 0), Rgba(1, 2, 3, 200));
}

TEST(ImageTest, ResizeKeepsTheFlatPrefix) {
    Image image(2, 2);
    for (int i = 0; i < 4; ++i) image.Pixels()[i] = Color(static_cast<uint32_t>(i + 1));
    image.Resize(1, 3);
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.At(0, 2), Color(3u));
    image.Resize(-4, 2);
    EXPECT_TRUE(image.IsEmpty());
}

TEST(ImageTest, ImageArrayHoldsEmptyImages) {
    ImageArray images(3);
    ASSERT_EQ(images.Count(), 3);
    EXPECT_TRUE(images[2].IsEmpty());
    EXPECT_EQ(ImageArray(0).Count(), 0);
    EXPECT_EQ(ImageArray(-2).Count(), 0);
}

TEST(StringHashTest, IgnoresCaseAndFoldsTheTopBits) {
    EXPECT_EQ(StringHash(""), 0u);
    EXPECT_EQ(StringHash("a"), 0x41u);
    EXPECT_EQ(StringHash("ab"), 0x452u);
    EXPECT_EQ(StringHash("textures\\grass01.tga"), 0x05E7FD11u);
    EXPECT_EQ(StringHash("Textures\\Grass01.TGA"), StringHash(String("TEXTURES\\GRASS01.TGA")));
    EXPECT_NE(StringHash("grass01.tga"), StringHash("grass02.tga"));
}

}  // namespace
