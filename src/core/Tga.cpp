#include "core/Tga.h"

#include <algorithm>
#include <cstring>

#include "core/Image.h"
#include "platform/sys/Paths.h"
#include "platform/sys/SafeFile.h"

namespace {

// The TGA 2.0 footer: no extension area, no developer area, then the signature.
constexpr char kTgaSignature[] = "TRUEVISION-XFILE.";

// A run-length packet holds at most 128 pixels: its count lives in 7 bits.
constexpr int kMaxPacket = 128;

bool IsColorMapped(int imageType) { return imageType == 1 || imageType == 9; }

bool IsRunLength(int imageType) { return imageType >= 9; }

void PutU16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void PutBytes(std::vector<uint8_t>& bytes, const uint8_t* data, std::size_t count) {
    bytes.insert(bytes.end(), data, data + count);
}

int Validate(const TgaDescription& d) {
    if (d.colorMapType > 1) return kTgaBadColorMapType;
    if (d.imageType > 11 || (d.imageType > 3 && d.imageType < 9)) return kTgaBadImageType;
    if (d.imageType == 0 || d.pixels == nullptr) return kTgaNoImageData;
    const bool hasMap = d.colorMapType == 1 && d.colorMap != nullptr;
    if (IsColorMapped(d.imageType) && !hasMap) return kTgaMissingColorMap;
    if (!IsColorMapped(d.imageType) && d.colorMapType == 1) return kTgaUnexpectedColorMap;
    if (hasMap && d.colorMapLength == 0) return kTgaEmptyColorMap;
    if (hasMap && d.colorMapEntrySize != 16 && d.colorMapEntrySize != 24 && d.colorMapEntrySize != 32)
        return kTgaBadColorMapEntrySize;
    if (d.width == 0 || d.height == 0) return kTgaZeroSize;
    const int depth = d.pixelDepth;
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return kTgaBadPixelDepth;
    if (IsColorMapped(d.imageType) && depth > 8) return kTgaBadPixelDepth;
    return kTgaWritten;
}

void PutHeader(std::vector<uint8_t>& bytes, const TgaDescription& d) {
    bytes.push_back(d.idLength);
    bytes.push_back(d.colorMapType);
    bytes.push_back(d.imageType);
    PutU16(bytes, d.colorMapFirst);
    PutU16(bytes, d.colorMapLength);
    bytes.push_back(d.colorMapEntrySize);
    PutU16(bytes, d.xOrigin);
    PutU16(bytes, d.yOrigin);
    PutU16(bytes, d.width);
    PutU16(bytes, d.height);
    bytes.push_back(d.pixelDepth);
    bytes.push_back(d.descriptor);
}

// One row split into packets, in the encoder's classic way so that files come out
// byte for byte as they always have.
class RowEncoder {
public:
    RowEncoder(const uint8_t* row, int width, int pixelBytes) : row_(row), width_(width), pixelBytes_(pixelBytes) {}

    void Encode(std::vector<uint8_t>& bytes) const {
        int i = 0;
        while (i < width_) {
            const bool run = RunStartsAt(i);
            const int length = PacketLength(i, run);
            bytes.push_back(static_cast<uint8_t>((length - 1) | (run ? 0x80 : 0)));
            PutBytes(bytes, Pixel(i), static_cast<std::size_t>(run ? 1 : length) * pixelBytes_);
            i += length;
        }
    }

private:
    const uint8_t* Pixel(int i) const { return row_ + static_cast<std::size_t>(i) * pixelBytes_; }

    bool Equal(int a, int b) const { return std::memcmp(Pixel(a), Pixel(b), pixelBytes_) == 0; }

    // Single bytes repeat by chance too often: a run of them needs three equal pixels.
    bool RunStartsAt(int i) const {
        if (i >= width_ - 1 || !Equal(i + 1, i)) return false;
        if (pixelBytes_ != 1) return true;
        return i + 2 < width_ && Equal(i + 2, i);
    }

    int PacketLength(int i, bool run) const {
        const int left = width_ - i;
        if (left <= 2) return left;
        const int limit = std::min(kMaxPacket, left);
        int n = run ? 1 : 2;
        if (run) {
            while (n < limit && Equal(i + n, i)) ++n;
            return n;
        }
        // A run starting right after i is not looked for.
        while (n < limit && !RunStartsAt(i + n)) ++n;
        return n;
    }

    const uint8_t* row_;
    int width_;
    int pixelBytes_;
};

void PutPixels(std::vector<uint8_t>& bytes, const TgaDescription& d) {
    const int pixelBytes = d.pixelDepth / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(d.width) * pixelBytes;
    if (!IsRunLength(d.imageType)) {
        PutBytes(bytes, d.pixels, rowBytes * d.height);
        return;
    }
    for (int y = 0; y < d.height; ++y) RowEncoder(d.pixels + rowBytes * y, d.width, pixelBytes).Encode(bytes);
}

void PutFooter(std::vector<uint8_t>& bytes) {
    for (int i = 0; i < 8; ++i) bytes.push_back(0);
    PutBytes(bytes, reinterpret_cast<const uint8_t*>(kTgaSignature), sizeof kTgaSignature);
}

}  // namespace

int EncodeTga(const TgaDescription& d, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const int result = Validate(d);
    if (result != kTgaWritten) return result;
    PutHeader(bytes, d);
    if (d.idLength > 0 && d.imageId != nullptr)
        PutBytes(bytes, d.imageId, d.idLength);
    else
        bytes.resize(bytes.size() + d.idLength, 0);
    if (d.colorMapType == 1) {
        const std::size_t entryBytes = d.colorMapEntrySize / 8;
        PutBytes(bytes, d.colorMap + entryBytes * d.colorMapFirst, entryBytes * d.colorMapLength);
    }
    PutPixels(bytes, d);
    PutFooter(bytes);
    return kTgaWritten;
}

int WriteTGA(std::FILE* file, const TgaDescription& description) {
    std::vector<uint8_t> bytes;
    const int result = EncodeTga(description, bytes);
    if (result != kTgaWritten) return result;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return kTgaWriteFailed;
    return kTgaWritten;
}

int WriteTgaFile(std::string_view fileName, const TgaDescription& description) {
    sys::SafeFile file(fileName, "wb");
    if (!file.IsOpen()) return kTgaCannotCreate;
    const int result = WriteTGA(file.Handle(), description);
    if (result != kTgaWritten) return result;
    return file.Commit() ? kTgaWritten : kTgaWriteFailed;
}

uint8_t* TgaPixelAddress(const TgaDescription& d, int x, int y) {
    if (x < 0 || y < 0 || x >= d.width || y >= d.height) return nullptr;
    const int row = (d.descriptor & kTgaTopFirst) ? y : d.height - 1 - y;
    const int column = (d.descriptor & kTgaRightToLeft) ? d.width - 1 - x : x;
    const std::size_t index = static_cast<std::size_t>(d.width) * row + column;
    return d.pixels + index * (d.pixelDepth / 8);
}

int TgaStorePixel(uint8_t* address, int depth, uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) {
    switch (depth) {
        case 32: address[3] = alpha; [[fallthrough]];
        case 24:
            address[0] = blue;
            address[1] = green;
            address[2] = red;
            return kTgaWritten;
        case 16: {
            uint16_t value = static_cast<uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
            if (alpha > 127) value |= 0x8000;
            address[0] = static_cast<uint8_t>(value & 0xFF);
            address[1] = static_cast<uint8_t>(value >> 8);
            return kTgaWritten;
        }
        default: return kTgaBadPixelDepth;
    }
}

namespace {

// The reader's view of the 18-byte header.
struct TgaHeader {
    int idLength;
    int colorMapType;
    int imageType;
    int colorMapLength;
    int colorMapEntrySize;
    int width;
    int height;
    int depth;
    int descriptor;
};

int U16At(std::span<const uint8_t> bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

TgaHeader ParseHeader(std::span<const uint8_t> bytes) {
    return TgaHeader{bytes[0],         bytes[1],         bytes[2],  U16At(bytes, 5), bytes[7],
                     U16At(bytes, 12), U16At(bytes, 14), bytes[16], bytes[17]};
}

bool IsSupported(const TgaHeader& h) {
    if (h.colorMapType > 1) return false;
    if (h.imageType == 2 || h.imageType == 10) return h.depth == 16 || h.depth == 24 || h.depth == 32;
    if (h.imageType == 3 || h.imageType == 11) return h.depth == 8;
    return false;
}

// Decodes one pixel of the file's depth.
class PixelDecoder {
public:
    explicit PixelDecoder(const TgaHeader& h) : bytes_(h.depth / 8), alphaBit_((h.descriptor & 0x0F) != 0) {}

    std::size_t Bytes() const { return bytes_; }

    Color Decode(const uint8_t* p) const {
        switch (bytes_) {
            case 1: return Color::FromRGBA(p[0], p[0], p[0], 255);
            case 2: return Decode16(static_cast<uint16_t>(p[0] | p[1] << 8));
            case 3: return Color::FromRGBA(p[2], p[1], p[0], 255);
            default: return Color::FromRGBA(p[2], p[1], p[0], p[3]);
        }
    }

private:
    static uint8_t Expand5(int v) { return static_cast<uint8_t>(v << 3 | v >> 2); }

    Color Decode16(uint16_t v) const {
        // Bit 15 is an alpha bit only when the descriptor declares one.
        const uint8_t alpha = (!alphaBit_ || (v & 0x8000)) ? 255 : 0;
        return Color::FromRGBA(Expand5(v >> 10 & 31), Expand5(v >> 5 & 31), Expand5(v & 31), alpha);
    }

    std::size_t bytes_;
    bool alphaBit_;
};

// Places decoded pixels, given in file order, at their picture positions.
class PixelPlacer {
public:
    PixelPlacer(const TgaHeader& h, std::vector<Color>& pixels)
        : width_(h.width),
          height_(h.height),
          topFirst_(h.descriptor & kTgaTopFirst),
          rightToLeft_(h.descriptor & kTgaRightToLeft),
          pixels_(pixels) {}

    void Put(std::size_t fileIndex, Color c) {
        const int row = static_cast<int>(fileIndex / width_);
        const int column = static_cast<int>(fileIndex % width_);
        const int y = topFirst_ ? row : height_ - 1 - row;
        const int x = rightToLeft_ ? width_ - 1 - column : column;
        pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
    }

private:
    int width_;
    int height_;
    bool topFirst_;
    bool rightToLeft_;
    std::vector<Color>& pixels_;
};

TgaReadResult DecodePlain(std::span<const uint8_t> data, const PixelDecoder& decoder, PixelPlacer& placer,
                          std::size_t count) {
    const std::size_t size = decoder.Bytes();
    if (data.size() / size < count) return TgaReadResult::kTruncated;
    for (std::size_t i = 0; i < count; ++i) placer.Put(i, decoder.Decode(data.data() + i * size));
    return TgaReadResult::kOk;
}

// Packets may cross row ends: the data is one stream of pixels.
TgaReadResult DecodeRunLength(std::span<const uint8_t> data, const PixelDecoder& decoder, PixelPlacer& placer,
                              std::size_t count) {
    const std::size_t size = decoder.Bytes();
    std::size_t at = 0;
    std::size_t done = 0;
    while (done < count) {
        if (at >= data.size()) return TgaReadResult::kTruncated;
        const uint8_t header = data[at++];
        const std::size_t length = std::min<std::size_t>((header & 0x7F) + 1, count - done);
        const bool run = header & 0x80;
        const std::size_t needed = run ? size : length * size;
        if (data.size() - at < needed) return TgaReadResult::kTruncated;
        for (std::size_t i = 0; i < length; ++i)
            placer.Put(done + i, decoder.Decode(data.data() + at + (run ? 0 : i * size)));
        at += needed;
        done += length;
    }
    return TgaReadResult::kOk;
}

// The fewest bytes that can hold count pixels: a full run packet for every 128.
std::size_t MinimumBytes(std::size_t count, std::size_t pixelBytes, bool runLength) {
    if (!runLength) return count * pixelBytes;
    return (count + kMaxPacket - 1) / kMaxPacket * (1 + pixelBytes);
}

// The largest file a readable picture needs: header, id, a full colour map, the
// largest uncompressed picture and the footer. Anything longer is not read in.
constexpr std::size_t kMaxFileBytes =
    kTgaHeaderBytes + 255 + 65535 * 4 + std::size_t{kTgaMaxSide} * kTgaMaxSide * 4 + kTgaFooterBytes;

}  // namespace

const char* TgaReadResultText(TgaReadResult result) {
    switch (result) {
        case TgaReadResult::kOk: return "read";
        case TgaReadResult::kCannotOpen: return "the file cannot be opened";
        case TgaReadResult::kTruncated: return "the file is truncated";
        case TgaReadResult::kBadSize: return "the image size is zero or too large";
        case TgaReadResult::kUnsupported: return "the image type or depth is not supported";
    }
    return "unknown result";
}

TgaReadResult ReadTGA(std::span<const uint8_t> bytes, Image& image) {
    if (bytes.size() < kTgaHeaderBytes) return TgaReadResult::kTruncated;
    const TgaHeader h = ParseHeader(bytes);
    if (!IsSupported(h)) return TgaReadResult::kUnsupported;
    if (h.width == 0 || h.height == 0 || h.width > kTgaMaxSide || h.height > kTgaMaxSide)
        return TgaReadResult::kBadSize;
    const std::size_t mapBytes =
        h.colorMapType == 1 ? static_cast<std::size_t>(h.colorMapLength) * ((h.colorMapEntrySize + 7) / 8) : 0;
    const std::size_t offset = kTgaHeaderBytes + h.idLength + mapBytes;
    if (offset > bytes.size()) return TgaReadResult::kTruncated;
    const std::span<const uint8_t> data = bytes.subspan(offset);
    const PixelDecoder decoder(h);
    const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
    const bool runLength = IsRunLength(h.imageType);
    // Checked before allocating, so a short hostile file cannot ask for a huge picture.
    if (data.size() < MinimumBytes(count, decoder.Bytes(), runLength)) return TgaReadResult::kTruncated;
    std::vector<Color> pixels(count);
    PixelPlacer placer(h, pixels);
    const TgaReadResult result =
        runLength ? DecodeRunLength(data, decoder, placer, count) : DecodePlain(data, decoder, placer, count);
    if (result != TgaReadResult::kOk) return result;
    image.Resize(h.width, h.height);
    std::copy(pixels.begin(), pixels.end(), image.Pixels());
    return TgaReadResult::kOk;
}

TgaReadResult ReadTgaFile(std::string_view fileName, Image& image) {
    std::FILE* file = std::fopen(sys::ResolvePath(fileName).c_str(), "rb");
    if (file == nullptr) return TgaReadResult::kCannotOpen;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    std::size_t got = 0;
    while (bytes.size() <= kMaxFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return TgaReadResult::kCannotOpen;
    if (bytes.size() > kMaxFileBytes) return TgaReadResult::kBadSize;
    return ReadTGA(bytes, image);
}
