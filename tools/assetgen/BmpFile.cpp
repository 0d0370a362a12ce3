#include "BmpFile.h"

#include <cstdint>

#include "LittleEndian.h"

namespace assetgen {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
// The version 4 header carries the channel masks, alpha among them.
constexpr uint32_t kInfoHeaderBytes = 108;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kCalibratedRgb = 0x73524742;  // "sRGB" read backwards

void PutInfoHeader(std::string& out, const Image& image) {
    Put32(out, kInfoHeaderBytes);
    Put32(out, uint32_t(image.Width()));
    Put32(out, uint32_t(image.Height()));  // positive: the bottom row first
    Put16(out, 1);                         // planes
    Put16(out, 32);                        // bits a pixel
    Put32(out, kBitFields);
    Put32(out, uint32_t(image.Width() * image.Height() * 4));
    Put32(out, 2835);  // 72 dots an inch, both ways
    Put32(out, 2835);
    Put32(out, 0);  // no palette
    Put32(out, 0);
    // Masks of red, green, blue and alpha in the pixel word, which is the image's own.
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(out, mask);
    Put32(out, kCalibratedRgb);
    for (int i = 0; i < 12; ++i) Put32(out, 0);  // end points and gamma, unused with sRGB
}

}  // namespace

std::string EncodeBmp(const Image& image) {
    const uint32_t pixelBytes = uint32_t(image.Width() * image.Height() * 4);
    std::string out = "BM";
    Put32(out, kFileHeaderBytes + kInfoHeaderBytes + pixelBytes);
    Put32(out, 0);
    Put32(out, kFileHeaderBytes + kInfoHeaderBytes);
    PutInfoHeader(out, image);
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) Put32(out, image.At(x, y).argb);
    }
    return out;
}

}  // namespace assetgen
