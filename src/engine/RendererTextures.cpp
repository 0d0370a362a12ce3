// The renderer's textures, the texture table by full path, and materials.
#include <algorithm>

#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "core/Image.h"
#include "core/StringHash.h"
#include "engine/Renderer.h"
#include "platform/gfx/TextureFile.h"

namespace {

// The loader's filter numbers: 1 none, 2 point, 3 linear, 4 triangle, 5 box; the high
// bits are flags that only matter when resizing.
constexpr int kFilterLinear = 3;
constexpr int kFilterBox = 5;
constexpr int kFilterMirrorUV = 0x30000;

gfx::Filter LoaderFilter(int filter) {
    const int kind = filter & 0xFF;
    return kind == 1 || kind == 2 ? gfx::Filter::Point : gfx::Filter::Linear;
}

// A converted bitmap wider than this is stored at half size.
constexpr int kLargestUnhalvedBitmap = 64;

// The checker: 16 x 16 cells of 4 x 4 pixels.
constexpr int kCheckerSize = 64;
constexpr int kCheckerCell = 4;

}  // namespace

Texture* Renderer::FindTexture(const String& path) const {
    for (const TableEntry& entry : textureTable_[StringHash(path) % kTableBuckets]) {
        if (String::CompareNoCase(entry.key, path) == 0) return entry.texture;
    }
    return nullptr;
}

void Renderer::InsertTexture(const String& path, Texture* texture) {
    std::vector<TableEntry>& bucket = textureTable_[StringHash(path) % kTableBuckets];
    for (TableEntry& entry : bucket) {
        if (String::CompareNoCase(entry.key, path) == 0) {
            entry.texture = texture;
            return;
        }
    }
    bucket.push_back({path, texture});
}

Texture* Renderer::NewTexture(const String& name) {
    textures_.push_back(std::make_unique<Texture>());
    textures_.back()->name = name;
    return textures_.back().get();
}

TextureHandle Renderer::CreateTextureImage(const String& file, bool& hasAlpha, int width, int height, int mipLevels,
                                           int filter, int, int mipFilter, int, bool reuse) {
    hasAlpha = false;
    const String path = GetFullPath(file);
    if (path.IsEmpty()) return nullptr;
    Texture* record = reuse ? FindTexture(path) : nullptr;
    if (record == nullptr) {
        gfx::TextureFileOptions options;
        options.width = width;
        options.height = height;
        options.mipLevels = uint32_t(std::max(mipLevels, 0));
        options.filter = LoaderFilter(filter);
        options.mipFilter = LoaderFilter(mipFilter);
        gfx::Created<gfx::DeviceTexture> created = gfx::CreateTextureFromFile(GetDevice(), path.CStr(), options);
        if (created.result != gfx::Result::Ok) {
            Fail("CreateTextureImage", "gfx::CreateTextureFromFile", created.result, String(" : File ") + file);
        }
        record = NewTexture(path);
        record->texture = std::move(created.object);
        InsertTexture(path, record);
    }
    // Every texture is stored with an alpha channel.
    hasAlpha = true;
    return record;
}

TextureHandle Renderer::CreateTextureFromFile(const String& file, int width, int height, int mipLevels, int filter,
                                              int filterFlags, int mipFilter, int mipFilterFlags, bool reuse) {
    bool hasAlpha = false;
    return CreateTextureImage(file, hasAlpha, width, height, mipLevels, filter, filterFlags, mipFilter, mipFilterFlags,
                              reuse);
}

TextureHandle Renderer::CreateTextureImage(const Image& image, int mipLevels) {
    gfx::Created<gfx::DeviceTexture> created =
        gfx::CreateTextureFromImage(GetDevice(), image, uint32_t(std::max(mipLevels, 0)));
    Check(created.result, "CreateTextureImage", "gfx::CreateTextureFromImage");
    Texture* record = NewTexture(String());
    record->texture = std::move(created.object);
    return record;
}

void Renderer::CreateTextureImage(TextureHandle texture, const Image& image) {
    if (texture == nullptr || texture->texture == nullptr) return;
    const gfx::DeviceTexture& target = *texture->texture;
    if (uint32_t(image.Width()) != target.Width() || uint32_t(image.Height()) != target.Height()) return;
    Check(gfx::CopyImageToTexture(image, *texture->texture), "CreateTextureImage", "gfx::CopyImageToTexture");
}

void Renderer::ReadTextureImage(Image& image, TextureHandle texture) {
    if (texture == nullptr || texture->texture == nullptr) return;
    Check(gfx::CopyTextureToImage(*texture->texture, image), "CreateTextureImage", "gfx::CopyImageToTexture");
}

void Renderer::CreateTextureFromImage(const String& file, const Image& image) {
    CreateTextureImage(CreateTextureFromFile(file), image);
}

void Renderer::LoadImageFile(Image& image, const String& file, int width, int height) {
    ReadTextureImage(image, CreateTextureFromFile(file, width, height));
}

bool Renderer::ConvertBitmapCompanion(const String& file, int width, int height) {
    if (file.CharCount() < 3) return false;
    const String companion = file.Left(file.CharCount() - 3) + "bmp";
    if (!FileExists(companion)) return false;
    int age = 0;
    if (FileExists(file) && (!CompareFileTimes(file, companion, age) || age > 0)) return false;
    Image converted;
    ReadTextureImage(converted, CreateTextureFromFile(companion, width, height, 1, kFilterLinear, kFilterMirrorUV,
                                                      kFilterBox, kFilterMirrorUV, true));
    if (converted.Width() > kLargestUnhalvedBitmap) {
        Image halved;
        converted.HalfSize(halved);
        converted = halved;
    }
    if (!converted.SaveTGA(file.CStr())) {
        Debugger::Instance().Line((String("Could not save ") + file + " converted from " + companion).CStr());
    }
    return true;
}

void Renderer::LoadConvertedImage(Image& image, const String& file, int width, int height) {
    // A picture converted just now must not come from a texture loaded before it.
    const bool converted = ConvertBitmapCompanion(file, width, height);
    ReadTextureImage(image, CreateTextureFromFile(file, width, height, 1, kFilterLinear, kFilterMirrorUV, kFilterBox,
                                                  kFilterMirrorUV, !converted));
}

TextureHandle Renderer::GetCheckerTexture() {
    if (checker_ != nullptr) return checker_;
    Image image(kCheckerSize, kCheckerSize);
    for (int y = 0; y < kCheckerSize; ++y) {
        for (int x = 0; x < kCheckerSize; ++x) {
            const int column = x / kCheckerCell, row = y / kCheckerCell;
            // Red grows downwards and green to the right, so a sampled spot shows where.
            image.At(x, y) = (column + row) % 2 == 1 ? Color(0xFFFFFFFFu)
                                                     : Color::FromRGBA(uint8_t(16 * row), uint8_t(16 * column), 0, 255);
        }
    }
    checker_ = CreateTextureImage(image, 1);
    return checker_;
}

// --- materials

Material* Renderer::CreateMaterial() {
    materials_.push_back(std::make_unique<Material>());
    return materials_.back().get();
}

void Renderer::DestroyMaterial(Material* material) {
    auto found = std::find_if(materials_.begin(), materials_.end(),
                              [material](const std::unique_ptr<Material>& m) { return m.get() == material; });
    if (found != materials_.end()) materials_.erase(found);
}

Material* Renderer::CreateTexturedMaterial(const String& file, int width, int height) {
    bool hasAlpha = false;
    TextureHandle texture = CreateTextureImage(file, hasAlpha, width, height, 1, kFilterLinear, kFilterMirrorUV,
                                               kFilterBox, kFilterMirrorUV, true);
    Material* material = CreateMaterial();
    material->stages.Append(TextureStageSettings(texture));
    return material;
}

void Renderer::ApplyMaterial(const Material& material) {
    gfx::Device& device = GetDevice();
    device.SetMaterial(material.Colours());
    const uint32_t count = uint32_t(std::min<int>(material.stages.Count(), gfx::kMaxTextureStages));
    for (uint32_t i = 0; i < count; ++i) ApplyTextureStage(material.stages[int(i)], i);
    // Stages left over from an earlier material must not colour this one.
    if (count < gfx::kMaxTextureStages) {
        device.SetTextureStageState(count, gfx::TextureStageState::ColorOp, gfx::TextureOp::Disable);
    }
}

void Renderer::ApplyTextureStage(const TextureStageSettings& stage, uint32_t index) {
    gfx::Device& device = GetDevice();
    if (stage.texture != nullptr) device.SetTexture(index, stage.texture->texture.get());
    using TS = gfx::TextureStageState;
    device.SetTextureStageState(index, TS::ColorOp, stage.colorOp);
    device.SetTextureStageState(index, TS::ColorArg1, stage.colorArg1);
    device.SetTextureStageState(index, TS::ColorArg2, stage.colorArg2);
    device.SetTextureStageState(index, TS::AlphaOp, stage.alphaOp);
    device.SetTextureStageState(index, TS::AlphaArg1, stage.alphaArg1);
    device.SetTextureStageState(index, TS::AlphaArg2, stage.alphaArg2);
    using SS = gfx::SamplerState;
    device.SetSamplerState(index, SS::AddressU, stage.addressU);
    device.SetSamplerState(index, SS::AddressV, stage.addressV);
    device.SetSamplerState(index, SS::MagFilter, stage.magFilter);
    device.SetSamplerState(index, SS::MinFilter, stage.minFilter);
    device.SetSamplerState(index, SS::MipFilter, stage.mipFilter);
}
