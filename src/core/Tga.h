#pragma once
// Truevision TGA files: a writer for every image type (true colour, grey and colour
// mapped, plain or run-length encoded) and a reader for true-colour and grey images.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

class Image;

// What the writer is asked to write. Multi-byte fields are written little-endian.
struct TgaDescription {
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;  // 0 none, 1 present
    uint8_t imageType = 0;     // 1 mapped, 2 true colour, 3 grey; 9, 10, 11 run-length
    uint16_t colorMapFirst = 0;
    uint16_t colorMapLength = 0;
    uint8_t colorMapEntrySize = 0;  // bits
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;  // bits
    // Bit 5: the first row is the top row; bit 4: right-to-left; low bits: alpha bits.
    uint8_t descriptor = 0;
    const uint8_t* imageId = nullptr;
    const uint8_t* colorMap = nullptr;  // indexed by palette entry
    uint8_t* pixels = nullptr;          // width x height pixels in file order
};

// Results of the writer; the numbers are what callers have always been given.
enum TgaResult : int {
    kTgaWritten = 0,
    kTgaCannotCreate = 1,
    kTgaWriteFailed = 3,
    kTgaBadColorMapType = 4,
    kTgaBadImageType = 5,
    kTgaNoImageData = 6,
    kTgaMissingColorMap = 7,
    kTgaUnexpectedColorMap = 8,
    kTgaEmptyColorMap = 9,
    kTgaBadColorMapEntrySize = 10,
    kTgaZeroSize = 11,
    kTgaBadPixelDepth = 12,
};

constexpr std::size_t kTgaHeaderBytes = 18;
constexpr std::size_t kTgaFooterBytes = 26;
// Bit 5 of the descriptor: rows run from the top down.
constexpr uint8_t kTgaTopFirst = 0x20;
constexpr uint8_t kTgaRightToLeft = 0x10;

// Validates the description and encodes the whole file into bytes.
int EncodeTga(const TgaDescription& description, std::vector<uint8_t>& bytes);
// Validates and writes to an open file.
int WriteTGA(std::FILE* file, const TgaDescription& description);
// Writes through a temporary file renamed over the target, so an old file survives a
// failed write.
int WriteTgaFile(std::string_view fileName, const TgaDescription& description);

// Address of the picture position (x, y) in the description's pixels, honouring the
// row and column order of the descriptor; null outside the picture.
uint8_t* TgaPixelAddress(const TgaDescription& description, int x, int y);
// Stores one pixel at an address in the given depth; kTgaBadPixelDepth for a depth
// other than 16, 24 or 32.
int TgaStorePixel(uint8_t* address, int depth, uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha);

// Results of the reader.
enum class TgaReadResult {
    kOk,
    kCannotOpen,
    kTruncated,    // the data ends before the header, id, colour map or pixels do
    kBadSize,      // zero or larger than kTgaMaxSide
    kUnsupported,  // image type, depth or colour map this reader does not take
};

// Files come from disk and may be damaged: no side may exceed this.
constexpr int kTgaMaxSide = 16384;

const char* TgaReadResultText(TgaReadResult result);

// Reads true-colour (types 2 and 10; 16, 24 and 32 bits) and grey (types 3 and 11;
// 8 bits) images, either row order, into the image. The image is left alone on failure.
TgaReadResult ReadTGA(std::span<const uint8_t> bytes, Image& image);
TgaReadResult ReadTgaFile(std::string_view fileName, Image& image);
