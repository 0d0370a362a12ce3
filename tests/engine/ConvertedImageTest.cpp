// Pictures that may come as a bitmap beside the TGA file the program reads.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/FileHelpers.h"
#include "core/Image.h"
#include "engine/Renderer.h"
#include "support/TempFolder.h"

namespace {

void Put32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += char(value >> (8 * i));
}

// A 24-bit bitmap, rows stored bottom-up and padded to 4 bytes: the left half red, the
// right half blue.
void WriteBitmap(const std::string& path, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::string bytes = "BM";
    Put32(bytes, uint32_t(54 + rowBytes * height));
    Put32(bytes, 0);
    Put32(bytes, 54);
    Put32(bytes, 40);
    Put32(bytes, uint32_t(width));
    Put32(bytes, uint32_t(height));
    bytes += std::string("\x01\x00\x18\x00", 4);  // one plane, 24 bits
    for (int i = 0; i < 6; ++i) Put32(bytes, 0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += x < width / 2 ? std::string("\x00\x00\xFF", 3) : std::string("\xFF\x00\x00", 3);
        row.resize(size_t(rowBytes), '\0');
        bytes += row;
    }
    platform_test::WriteRaw(path, bytes);
}

class ConvertedImageTest : public ::testing::Test {
protected:
    String Name(const char* file) const { return String((folder_ / file).c_str()); }

    platform_test::TempFolder folder_;
    Renderer renderer_;
};

TEST_F(ConvertedImageTest, BitmapAloneIsConvertedAndHalvedWhenWide) {
    WriteBitmap(folder_ / "Wide.bmp", 100, 4);
    Image image;
    renderer_.LoadConvertedImage(image, Name("Wide.tga"), -1, -1);
    EXPECT_TRUE(FileExists(Name("Wide.tga")));
    ASSERT_EQ(image.Width(), 50);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(image.At(0, 0), Color(0xFFFF0000u));
    EXPECT_EQ(image.At(49, 1), Color(0xFF0000FFu));
    WriteBitmap(folder_ / "Narrow.bmp", 64, 2);
    renderer_.LoadConvertedImage(image, Name("Narrow.tga"), -1, -1);
    EXPECT_EQ(image.Width(), 64);
}

TEST_F(ConvertedImageTest, NewerTgaIsReadAsItStands) {
    Image green(8, 8);
    green.Fill(Color(0xFF00FF00u));
    ASSERT_TRUE(green.SaveTGA(folder_ / "Kept.tga"));
    ASSERT_TRUE(green.SaveTGA(folder_ / "Alone.tga"));
    WriteBitmap(folder_ / "Kept.bmp", 8, 8);
    std::filesystem::last_write_time(folder_ / "Kept.bmp",
                                     std::filesystem::last_write_time(folder_ / "Kept.tga") - std::chrono::hours(1));
    Image image;
    renderer_.LoadConvertedImage(image, Name("Kept.tga"), -1, -1);
    EXPECT_EQ(image.At(0, 0), Color(0xFF00FF00u));
    renderer_.LoadConvertedImage(image, Name("Alone.tga"), -1, -1);
    EXPECT_EQ(image.At(7, 7), Color(0xFF00FF00u));
    // An older TGA is replaced from its bitmap, and the texture of that path with it.
    std::filesystem::last_write_time(folder_ / "Kept.bmp",
                                     std::filesystem::last_write_time(folder_ / "Kept.tga") + std::chrono::hours(1));
    renderer_.LoadConvertedImage(image, Name("Kept.tga"), -1, -1);
    EXPECT_EQ(image.At(0, 0), Color(0xFFFF0000u));
}

}  // namespace
