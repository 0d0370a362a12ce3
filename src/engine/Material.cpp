// Materials and their texture stages.
#include "engine/Material.h"

#include <initializer_list>

#include "core/Stream.h"
#include "engine/BinaryFields.h"

gfx::Material Material::Colours() const {
    gfx::Material colours;
    colours.diffuse = diffuse;
    colours.ambient = ambient;
    colours.specular = specular;
    colours.emissive = emissive;
    colours.power = power;
    return colours;
}

namespace {

// The stages a material may hold in a cache; the device has eight.
constexpr int32_t kMaxStoredStages = 8;

void WriteColour(Stream& stream, const gfx::ColorValue& colour) {
    const float values[4] = {colour.r, colour.g, colour.b, colour.a};
    for (float value : values) WriteFloat(stream, value);
}

gfx::ColorValue ReadColour(Stream& stream) {
    gfx::ColorValue colour;
    colour.r = ReadFloat(stream);
    colour.g = ReadFloat(stream);
    colour.b = ReadFloat(stream);
    colour.a = ReadFloat(stream);
    return colour;
}

uint32_t OneOf(uint32_t value, std::initializer_list<uint32_t> supported, uint32_t otherwise) {
    for (uint32_t each : supported) {
        if (value == each) return value;
    }
    return otherwise;
}

}  // namespace

void Material::WriteBinary(Stream& stream, const std::function<uint32_t(TextureHandle)>& textureId) const {
    WriteColour(stream, diffuse);
    WriteColour(stream, ambient);
    WriteColour(stream, specular);
    WriteColour(stream, emissive);
    WriteFloat(stream, power);
    WriteCountedString(stream, name);
    WriteInt32(stream, stages.Count());
    for (const TextureStageSettings& stage : stages) {
        // The stored order puts minification before magnification.
        const uint32_t fields[12] = {textureId(stage.texture), stage.colorOp,   stage.colorArg1,
                                     stage.colorArg2,          stage.alphaOp,   stage.alphaArg1,
                                     stage.alphaArg2,          stage.addressU,  stage.addressV,
                                     stage.minFilter,          stage.magFilter, stage.mipFilter};
        for (uint32_t field : fields) WriteUInt32(stream, field);
    }
}

void Material::ReadBinary(Stream& stream, Array<uint32_t>& stageTextureIds) {
    diffuse = ReadColour(stream);
    ambient = ReadColour(stream);
    specular = ReadColour(stream);
    emissive = ReadColour(stream);
    power = ReadFloat(stream);
    name = ReadCountedString(stream);
    stages.Clear();
    stageTextureIds.Clear();
    for (int32_t n = ReadCount(stream, kMaxStoredStages); n > 0 && !stream.HasError(); --n) {
        uint32_t f[12];
        for (uint32_t& field : f) field = ReadUInt32(stream);
        if (stream.HasError()) return;
        TextureStageSettings stage;
        stage.colorOp = OneOf(f[1], {2, 3, 4, 7, 13}, 1);
        stage.colorArg1 = OneOf(f[2], {0, 2, 4}, 1);
        stage.colorArg2 = OneOf(f[3], {0, 2, 4}, 1);
        stage.alphaOp = OneOf(f[4], {2, 3, 4, 7, 13}, 1);
        stage.alphaArg1 = OneOf(f[5], {0, 2, 4}, 1);
        stage.alphaArg2 = OneOf(f[6], {0, 2, 4}, 1);
        stage.addressU = OneOf(f[7], {2, 3}, 1);
        stage.addressV = OneOf(f[8], {2, 3}, 1);
        stage.minFilter = OneOf(f[9], {1, 2, 3}, 0);
        stage.magFilter = OneOf(f[10], {1, 2, 3}, 0);
        stage.mipFilter = OneOf(f[11], {1, 2, 3}, 0);
        stages.Append(stage);
        stageTextureIds.Append(f[0]);
    }
}
