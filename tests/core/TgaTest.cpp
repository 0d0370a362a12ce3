#include "core/Tga.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Image.h"
#include "support/TempFolder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform_test::ReadRaw;
using platform_test::TempFolder;
using platform_test::WriteRaw;

const Bytes kFooter = {0,   0,   0,   0,   0,   0,   0,   0,   'T', 'R', 'U', 'E', 'V',
                       'I', 'S', 'I', 'O', 'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0};

Bytes Header(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor, uint8_t idLength = 0) {
    return {idLength,
            0,
            type,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            static_cast<uint8_t>(width),
            static_cast<uint8_t>(width >> 8),
            static_cast<uint8_t>(height),
            static_cast<uint8_t>(height >> 8),
            depth,
            descriptor};
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Color Rgba(int r, int g, int b, int a) {
    return Color::FromRGBA(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
                           static_cast<uint8_t>(a));
}

// The run-length encoding of one row of 32-bit pixels.
Bytes EncodeRow(const std::vector<uint32_t>& row) {
    Bytes pixels;
    for (uint32_t p : row)
        for (int i = 0; i < 4; ++i) pixels.push_back(static_cast<uint8_t>(p >> (8 * i)));
    TgaDescription d;
    d.imageType = 10;
    d.width = static_cast<uint16_t>(row.size());
    d.height = 1;
    d.pixelDepth = 32;
    d.pixels = pixels.data();
    Bytes file;
    EXPECT_EQ(EncodeTga(d, file), kTgaWritten);
    return Bytes(file.begin() + kTgaHeaderBytes, file.end() - kTgaFooterBytes);
}

Bytes Px(uint32_t p) {
    return {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16),
            static_cast<uint8_t>(p >> 24)};
}

TEST(TgaWriterTest, SavedTwoByTwoImageIsSixtyBytesTopRowFirst) {
    TempFolder folder;
    Image image(2, 2);
    image.At(0, 0) = Rgba(1, 2, 3, 4);
    image.At(1, 0) = Rgba(5, 6, 7, 8);
    image.At(0, 1) = Rgba(9, 10, 11, 12);
    image.At(1, 1) = Rgba(13, 14, 15, 16);
    ASSERT_TRUE(image.SaveTGA(folder / "a.tga"));
    const std::string text = ReadRaw(folder / "a.tga");
    const Bytes file(text.begin(), text.end());
    const Bytes expected =
        Join({Header(2, 2, 2, 32, 32), {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16}, kFooter});
    EXPECT_EQ(file, expected);
    EXPECT_EQ(file.size(), 60u);
    EXPECT_FALSE(std::filesystem::exists(folder / "a.tga.tmp"));
}

TEST(TgaWriterTest, RunLengthPacketsOfARow) {
    const uint32_t a = 0x11223344, b = 0x55667788, c = 0x99AABBCC;
    EXPECT_EQ(EncodeRow(std::vector<uint32_t>(200, a)), Join({{0xFF}, Px(a), {0xC7}, Px(a)}));
    EXPECT_EQ(EncodeRow({a, a, b}), Join({{0x81}, Px(a), {0x00}, Px(b)}));
    // The run of B right after A is not looked for: one raw packet of four.
    EXPECT_EQ(EncodeRow({a, b, b, c}), Join({{0x03}, Px(a), Px(b), Px(b), Px(c)}));
    EXPECT_EQ(EncodeRow({a, b, c, c, c}), Join({{0x01}, Px(a), Px(b), {0x82}, Px(c)}));
    EXPECT_EQ(EncodeRow({a, b}), Join({{0x01}, Px(a), Px(b)}));
    EXPECT_EQ(EncodeRow({a, a}), Join({{0x81}, Px(a)}));
}

TEST(TgaWriterTest, SingleBytePixelsNeedThreeEqualToRun) {
    auto encode = [](Bytes row) {
        TgaDescription d;
        d.imageType = 11;
        d.width = static_cast<uint16_t>(row.size());
        d.height = 1;
        d.pixelDepth = 8;
        d.pixels = row.data();
        Bytes file;
        EXPECT_EQ(EncodeTga(d, file), kTgaWritten);
        return Bytes(file.begin() + kTgaHeaderBytes, file.end() - kTgaFooterBytes);
    };
    EXPECT_EQ(encode({5, 5, 7}), (Bytes{0x02, 5, 5, 7}));
    EXPECT_EQ(encode({5, 5, 5, 7}), (Bytes{0x82, 5, 0x00, 7}));
}

TEST(TgaWriterTest, RowsAreEncodedSeparately) {
    Bytes pixels = Join({Px(1), Px(1), Px(1), Px(1)});
    TgaDescription d;
    d.imageType = 10;
    d.width = 2;
    d.height = 2;
    d.pixelDepth = 32;
    d.pixels = pixels.data();
    Bytes file;
    ASSERT_EQ(EncodeTga(d, file), kTgaWritten);
    EXPECT_EQ(Bytes(file.begin() + kTgaHeaderBytes, file.end() - kTgaFooterBytes),
              Join({{0x81}, Px(1), {0x81}, Px(1)}));
}

TEST(TgaWriterTest, ColourMappedImageWritesItsMapFromTheFirstEntry) {
    const uint8_t map[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    uint8_t pixels[] = {0, 1};
    const uint8_t id[] = {'i', 'd'};
    TgaDescription d;
    d.idLength = 2;
    d.imageId = id;
    d.colorMapType = 1;
    d.imageType = 1;
    d.colorMapFirst = 1;
    d.colorMapLength = 2;
    d.colorMapEntrySize = 24;
    d.width = 2;
    d.height = 1;
    d.pixelDepth = 8;
    d.colorMap = map;
    d.pixels = pixels;
    Bytes file;
    ASSERT_EQ(EncodeTga(d, file), kTgaWritten);
    const Bytes expected = Join(
        {{2, 1, 1, 1, 0, 2, 0, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0}, {'i', 'd'}, {4, 5, 6, 7, 8, 9}, {0, 1}, kFooter});
    EXPECT_EQ(file, expected);
}

TEST(TgaWriterTest, EveryInvalidDescriptionHasItsCode) {
    uint8_t pixels[16] = {};
    const uint8_t map[12] = {};
    auto valid = [&] {
        TgaDescription d;
        d.imageType = 2;
        d.width = 2;
        d.height = 2;
        d.pixelDepth = 32;
        d.pixels = pixels;
        return d;
    };
    auto code = [](TgaDescription d) {
        Bytes file;
        const int result = EncodeTga(d, file);
        EXPECT_TRUE(result == kTgaWritten || file.empty());
        return result;
    };
    TgaDescription d = valid();
    EXPECT_EQ(code(d), kTgaWritten);
    d.colorMapType = 2;
    EXPECT_EQ(code(d), kTgaBadColorMapType);
    d = valid(), d.imageType = 4;
    EXPECT_EQ(code(d), kTgaBadImageType);
    d.imageType = 12;
    EXPECT_EQ(code(d), kTgaBadImageType);
    d.imageType = 0;
    EXPECT_EQ(code(d), kTgaNoImageData);
    d = valid(), d.imageType = 1, d.pixelDepth = 8;
    EXPECT_EQ(code(d), kTgaMissingColorMap);
    d = valid(), d.colorMapType = 1, d.colorMap = map, d.colorMapLength = 1, d.colorMapEntrySize = 24;
    EXPECT_EQ(code(d), kTgaUnexpectedColorMap);
    d.imageType = 9, d.pixelDepth = 8, d.colorMapLength = 0;
    EXPECT_EQ(code(d), kTgaEmptyColorMap);
    d.colorMapLength = 1, d.colorMapEntrySize = 15;
    EXPECT_EQ(code(d), kTgaBadColorMapEntrySize);
    d.colorMapEntrySize = 32, d.pixelDepth = 16;
    EXPECT_EQ(code(d), kTgaBadPixelDepth);
    d = valid(), d.width = 0;
    EXPECT_EQ(code(d), kTgaZeroSize);
    d = valid(), d.height = 0;
    EXPECT_EQ(code(d), kTgaZeroSize);
    d = valid(), d.pixelDepth = 15;
    EXPECT_EQ(code(d), kTgaBadPixelDepth);
}

TEST(TgaWriterTest, FileErrorsKeepTheOldFile) {
    TempFolder folder;
    WriteRaw(folder / "old.tga", "old");
    uint8_t pixels[4] = {};
    TgaDescription d;
    d.imageType = 2;
    d.height = 1;
    d.pixelDepth = 32;
    d.pixels = pixels;
    EXPECT_EQ(WriteTgaFile(folder / "old.tga", d), kTgaZeroSize);
    EXPECT_EQ(ReadRaw(folder / "old.tga"), "old");
    EXPECT_FALSE(std::filesystem::exists(folder / "old.tga.tmp"));
    d.width = 1;
    EXPECT_EQ(WriteTgaFile(folder / "no/such/folder/x.tga", d), kTgaCannotCreate);
    EXPECT_EQ(WriteTgaFile(folder / "old.tga", d), kTgaWritten);
    EXPECT_EQ(ReadRaw(folder / "old.tga").size(), 18u + 4u + 26u);
}

TEST(TgaWriterTest, PixelAddressFollowsTheDescriptorAndStoreTheDepth) {
    uint8_t pixels[16] = {};
    TgaDescription d;
    d.width = 2;
    d.height = 2;
    d.pixelDepth = 32;
    d.pixels = pixels;
    EXPECT_EQ(TgaPixelAddress(d, 0, 0), pixels + 8);  // bottom row first
    EXPECT_EQ(TgaPixelAddress(d, 2, 0), nullptr);
    EXPECT_EQ(TgaPixelAddress(d, 0, 2), nullptr);
    d.descriptor = kTgaTopFirst | kTgaRightToLeft;
    EXPECT_EQ(TgaPixelAddress(d, 0, 1), pixels + 12);

    uint8_t out[4] = {};
    EXPECT_EQ(TgaStorePixel(out, 16, 8, 0, 255, 200), kTgaWritten);
    EXPECT_EQ(out[0], 0x01);  // 1 | 31 << 10 | alpha bit
    EXPECT_EQ(out[1], 0xFC);
    EXPECT_EQ(TgaStorePixel(out, 24, 1, 2, 3, 4), kTgaWritten);
    EXPECT_EQ(out[2], 3);
    EXPECT_EQ(out[3], 0x00);
    EXPECT_EQ(TgaStorePixel(out, 8, 1, 2, 3, 4), kTgaBadPixelDepth);
}

TEST(TgaReaderTest, ReadsBackWhatSaveTgaWrote) {
    TempFolder folder;
    Image image(3, 2);
    for (int i = 0; i < 6; ++i) image.Pixels()[i] = Rgba(i * 40, 255 - i, i, i * 50);
    ASSERT_TRUE(image.SaveTGA(folder / "Round.tga"));
    Image back;
    ASSERT_EQ(ReadTgaFile(folder / "round.TGA", back), TgaReadResult::kOk);
    ASSERT_EQ(back.Width(), 3);
    ASSERT_EQ(back.Height(), 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(back.Pixels()[i], image.Pixels()[i]) << i;
}

TEST(TgaReaderTest, BottomLeftOriginTwentyFourBitsWithIdAndIgnoredMap) {
    Bytes header = Header(2, 2, 2, 24, 0, 3);
    header[1] = 1;  // a colour map of two 16-bit entries, which a true-colour image ignores
    header[5] = 2;
    header[7] = 16;
    const Bytes file = Join({header,
                             {'a', 'b', 'c'},
                             {0, 0, 0, 0},
                             {1, 2, 3, 4, 5, 6},  // bottom row
                             {7, 8, 9, 10, 11, 12}});
    Image image;
    ASSERT_EQ(ReadTGA(file, image), TgaReadResult::kOk);
    EXPECT_EQ(image.At(0, 0), Rgba(9, 8, 7, 255));
    EXPECT_EQ(image.At(1, 0), Rgba(12, 11, 10, 255));
    EXPECT_EQ(image.At(0, 1), Rgba(3, 2, 1, 255));
    EXPECT_EQ(image.At(1, 1), Rgba(6, 5, 4, 255));
}

TEST(TgaReaderTest, RunLengthPacketsMayCrossRows) {
    const uint32_t a = 0x80102030, b = 0xFF000001, c = 0x00FFFFFF;
    const Bytes file =
        Join({Header(10, 3, 2, 32, kTgaTopFirst | kTgaRightToLeft), {0x83}, Px(a), {0x01}, Px(b), Px(c)});
    Image image;
    ASSERT_EQ(ReadTGA(file, image), TgaReadResult::kOk);
    // File order A A A / A B C, each row right to left.
    EXPECT_EQ(image.At(0, 0), Color(a));
    EXPECT_EQ(image.At(2, 1), Color(a));
    EXPECT_EQ(image.At(1, 1), Color(b));
    EXPECT_EQ(image.At(0, 1), Color(c));
}

TEST(TgaReaderTest, GreyAndSixteenBitImages) {
    Image image;
    ASSERT_EQ(ReadTGA(Join({Header(3, 1, 1, 8, 0), {77}}), image), TgaReadResult::kOk);
    EXPECT_EQ(image.At(0, 0), Rgba(77, 77, 77, 255));
    ASSERT_EQ(ReadTGA(Join({Header(11, 3, 1, 8, 0), {0x82, 9}}), image), TgaReadResult::kOk);
    EXPECT_EQ(image.At(2, 0), Rgba(9, 9, 9, 255));
    // 0x7C1F: red 31, green 0, blue 31; with one alpha bit declared and bit 15 clear.
    ASSERT_EQ(ReadTGA(Join({Header(2, 1, 1, 16, 1), {0x1F, 0x7C}}), image), TgaReadResult::kOk);
    EXPECT_EQ(image.At(0, 0), Rgba(255, 0, 255, 0));
    ASSERT_EQ(ReadTGA(Join({Header(2, 1, 1, 16, 0), {0x10, 0x02}}), image), TgaReadResult::kOk);
    EXPECT_EQ(image.At(0, 0), Rgba(0, 132, 132, 255));  // 16 of 31 each, no alpha bit
}

TEST(TgaReaderTest, TruncatedDataIsRefusedAndTheImageKept) {
    Image image(1, 1);
    image.At(0, 0) = Rgba(1, 2, 3, 4);
    const Bytes whole = Join({Header(2, 2, 1, 32, 0), Px(1), Px(2)});
    for (size_t cut : {size_t{0}, size_t{17}, size_t{18}, whole.size() - 1})
        EXPECT_EQ(ReadTGA(std::span(whole.data(), cut), image), TgaReadResult::kTruncated) << cut;
    EXPECT_EQ(ReadTGA(Join({Header(2, 1, 1, 32, 0, 200), Px(1)}), image), TgaReadResult::kTruncated);
    const Bytes rle = Join({Header(10, 4, 1, 32, 0), {0x81}, Px(1), {0x01}, Px(2)});
    EXPECT_EQ(ReadTGA(rle, image), TgaReadResult::kTruncated);  // raw packet short of a pixel
    EXPECT_EQ(ReadTGA(Join({Header(10, 4, 1, 32, 0), {0x81}, Px(1), {0x81, 0, 0, 0}}), image),
              TgaReadResult::kTruncated);
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(image.At(0, 0), Rgba(1, 2, 3, 4));
}

TEST(TgaReaderTest, HostileHeadersAreRefused) {
    Image image;
    EXPECT_EQ(ReadTGA(Join({Header(2, 0, 1, 32, 0), Px(1)}), image), TgaReadResult::kBadSize);
    EXPECT_EQ(ReadTGA(Join({Header(2, 1, 0, 32, 0), Px(1)}), image), TgaReadResult::kBadSize);
    EXPECT_EQ(ReadTGA(Join({Header(2, 20000, 1, 32, 0), Px(1)}), image), TgaReadResult::kBadSize);
    // The largest picture, with almost no data: refused before any pixel is made.
    EXPECT_EQ(ReadTGA(Join({Header(10, 16384, 16384, 32, 0), {0xFF}, Px(1)}), image), TgaReadResult::kTruncated);
    EXPECT_EQ(ReadTGA(Join({Header(1, 1, 1, 8, 0), {0}}), image), TgaReadResult::kUnsupported);
    EXPECT_EQ(ReadTGA(Join({Header(2, 1, 1, 8, 0), {0}}), image), TgaReadResult::kUnsupported);
    EXPECT_EQ(ReadTGA(Join({Header(3, 1, 1, 32, 0), Px(1)}), image), TgaReadResult::kUnsupported);
    Bytes badMap = Join({Header(2, 1, 1, 32, 0), Px(1)});
    badMap[1] = 7;
    EXPECT_EQ(ReadTGA(badMap, image), TgaReadResult::kUnsupported);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(ReadTgaFile("no/such/file.tga", image), TgaReadResult::kCannotOpen);
    EXPECT_STREQ(TgaReadResultText(TgaReadResult::kTruncated), "the file is truncated");
}

}  // namespace
