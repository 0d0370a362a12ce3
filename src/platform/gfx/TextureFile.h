#pragma once
// Textures from picture files and from the core's Image, and pictures from textures.
// Pixels are copied row by row through the texture's real pitch.
#include <cstdint>
#include <string_view>

#include "platform/gfx/Device.h"

class Image;

namespace gfx {

struct TextureFileOptions {
    int width = -1;  // 0 or less: the file's own size
    int height = -1;
    uint32_t mipLevels = 1;             // 0: the whole chain
    Filter filter = Filter::Linear;     // resampling to another size: Point or Linear
    Filter mipFilter = Filter::Linear;  // lower levels: Point takes one pixel, else 2 x 2 mean
};

// Reads a TGA file through the core's reader, or a ".bmp" file through the bitmap
// reader. NotFound when it cannot be opened, BadFile when it is not a picture the reader
// takes.
Created<DeviceTexture> CreateTextureFromFile(Device& device, std::string_view path,
                                             const TextureFileOptions& options = TextureFileOptions());

// A texture of the image's size; lower levels are made from the image.
Created<DeviceTexture> CreateTextureFromImage(Device& device, const Image& image, uint32_t mipLevels = 1,
                                              Filter mipFilter = Filter::Linear);

// InvalidParam when the sizes differ (nothing is copied).
Result CopyImageToTexture(const Image& image, DeviceTexture& texture, uint32_t level = 0);
// The image takes the level's size.
Result CopyTextureToImage(DeviceTexture& texture, Image& image, uint32_t level = 0);

}  // namespace gfx
