#include "platform/gfx/TextureFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/Image.h"
#include "core/Tga.h"
#include "platform/gfx/BitmapFile.h"

namespace gfx {

namespace {

uint8_t Channel(Color c, int shift) { return uint8_t(c.argb >> shift); }

Color Lerp(Color a, Color b, float t) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float v = float(Channel(a, shift)) * (1 - t) + float(Channel(b, shift)) * t;
        out |= uint32_t(std::clamp(v + 0.5f, 0.0f, 255.0f)) << shift;
    }
    return Color(out);
}

// Samples at the pixel centres of the new size.
Image Resample(const Image& source, int width, int height, Filter filter) {
    Image result(width, height);
    const float sx = float(source.Width()) / float(width);
    const float sy = float(source.Height()) / float(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float fx = (float(x) + 0.5f) * sx - 0.5f, fy = (float(y) + 0.5f) * sy - 0.5f;
            if (filter == Filter::Point) {
                const int px = std::clamp(int(fx + 0.5f), 0, source.Width() - 1);
                const int py = std::clamp(int(fy + 0.5f), 0, source.Height() - 1);
                result.At(x, y) = source.At(px, py);
                continue;
            }
            const int x0 = std::clamp(int(fx), 0, source.Width() - 1);
            const int y0 = std::clamp(int(fy), 0, source.Height() - 1);
            const int x1 = std::min(x0 + 1, source.Width() - 1);
            const int y1 = std::min(y0 + 1, source.Height() - 1);
            const float tx = std::clamp(fx - float(x0), 0.0f, 1.0f);
            const float ty = std::clamp(fy - float(y0), 0.0f, 1.0f);
            result.At(x, y) = Lerp(Lerp(source.At(x0, y0), source.At(x1, y0), tx),
                                   Lerp(source.At(x0, y1), source.At(x1, y1), tx), ty);
        }
    }
    return result;
}

// The next mip level: each pixel the mean of its 2 x 2 block (clamped at odd edges).
Image Halve(const Image& source, Filter filter) {
    const int w = std::max(1, source.Width() / 2), h = std::max(1, source.Height() / 2);
    Image result(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int x0 = std::min(2 * x, source.Width() - 1), y0 = std::min(2 * y, source.Height() - 1);
            if (filter == Filter::Point) {
                result.At(x, y) = source.At(x0, y0);
                continue;
            }
            const int x1 = std::min(x0 + 1, source.Width() - 1), y1 = std::min(y0 + 1, source.Height() - 1);
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t sum = Channel(source.At(x0, y0), shift) + Channel(source.At(x1, y0), shift) +
                                     Channel(source.At(x0, y1), shift) + Channel(source.At(x1, y1), shift);
                out |= ((sum + 2) / 4) << shift;
            }
            result.At(x, y) = Color(out);
        }
    }
    return result;
}

bool IsBitmapName(std::string_view path) {
    if (path.size() < 4) return false;
    const std::string_view extension = path.substr(path.size() - 4);
    return extension[0] == '.' && std::tolower(static_cast<unsigned char>(extension[1])) == 'b' &&
           std::tolower(static_cast<unsigned char>(extension[2])) == 'm' &&
           std::tolower(static_cast<unsigned char>(extension[3])) == 'p';
}

Result ReadPictureFile(std::string_view path, Image& image) {
    if (IsBitmapName(path)) return ReadBitmapFile(path, image);
    const TgaReadResult read = ReadTgaFile(path, image);
    if (read == TgaReadResult::kOk) return Result::Ok;
    return read == TgaReadResult::kCannotOpen ? Result::NotFound : Result::BadFile;
}

}  // namespace

Result CopyImageToTexture(const Image& image, DeviceTexture& texture, uint32_t level) {
    if (level >= texture.LevelCount() || uint32_t(image.Width()) != texture.Width(level) ||
        uint32_t(image.Height()) != texture.Height(level))
        return Result::InvalidParam;
    LockedRect locked;
    if (Result r = texture.LockRect(level, locked); r != Result::Ok) return r;
    const size_t rowBytes = size_t(image.Width()) * 4;
    for (int y = 0; y < image.Height(); ++y)
        std::memcpy(locked.bits + size_t(y) * locked.pitch, image.Pixels() + size_t(y) * image.Width(), rowBytes);
    return texture.UnlockRect(level);
}

Result CopyTextureToImage(DeviceTexture& texture, Image& image, uint32_t level) {
    if (level >= texture.LevelCount()) return Result::InvalidParam;
    LockedRect locked;
    if (Result r = texture.LockRect(level, locked, kLockReadOnly); r != Result::Ok) return r;
    image.Resize(int(texture.Width(level)), int(texture.Height(level)));
    const size_t rowBytes = size_t(image.Width()) * 4;
    for (int y = 0; y < image.Height(); ++y)
        std::memcpy(&image.At(0, y), locked.bits + size_t(y) * locked.pitch, rowBytes);
    return texture.UnlockRect(level);
}

Created<DeviceTexture> CreateTextureFromImage(Device& device, const Image& image, uint32_t mipLevels,
                                              Filter mipFilter) {
    Created<DeviceTexture> created =
        device.CreateTexture(uint32_t(std::max(image.Width(), 0)), uint32_t(std::max(image.Height(), 0)), mipLevels);
    if (created.result != Result::Ok) return created;
    Image level = image;
    for (uint32_t i = 0; i < created.object->LevelCount(); ++i) {
        if (i > 0) level = Halve(level, mipFilter);
        if (Result r = CopyImageToTexture(level, *created.object, i); r != Result::Ok)
            return Created<DeviceTexture>{r, nullptr};
    }
    return created;
}

Created<DeviceTexture> CreateTextureFromFile(Device& device, std::string_view path, const TextureFileOptions& options) {
    Image image;
    if (const Result read = ReadPictureFile(path, image); read != Result::Ok) return {read, nullptr};
    const int width = options.width > 0 ? options.width : image.Width();
    const int height = options.height > 0 ? options.height : image.Height();
    if (width != image.Width() || height != image.Height()) image = Resample(image, width, height, options.filter);
    return CreateTextureFromImage(device, image, options.mipLevels, options.mipFilter);
}

}  // namespace gfx
