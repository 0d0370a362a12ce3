#include "PngFile.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include <zlib.h>

namespace assetgen {
namespace {

void Put32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += char((value >> shift) & 0xFF);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
    Put32(out, uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    Put32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

}  // namespace

std::string EncodePng(const Image& image) {
    std::string raw;
    for (int y = 0; y < image.Height(); ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < image.Width(); ++x) {
            const Color c = image.At(x, y);
            raw += char(c.Red());
            raw += char(c.Green());
            raw += char(c.Blue());
            raw += char(c.Alpha());
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<Bytef> packed(size);
    if (compress(packed.data(), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size())) != Z_OK)
        throw std::runtime_error("cannot compress a picture");
    std::string header;
    Put32(header, uint32_t(image.Width()));
    Put32(header, uint32_t(image.Height()));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA
    std::string out = "\x89PNG\r\n\x1a\n";
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", std::string(reinterpret_cast<const char*>(packed.data()), size));
    Chunk(out, "IEND", "");
    return out;
}

}  // namespace assetgen
