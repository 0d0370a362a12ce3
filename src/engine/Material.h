#pragma once
// A material: its colours for lighting and the texture stages that colour it, stage 0
// first. The values of a stage are the device's own numbers (modulate 4, clamp 3, ...),
// handed to it unchanged when the material is applied.
#include <cstdint>
#include <functional>

#include "core/Array.h"
#include "core/String.h"
#include "engine/TextureHandle.h"
#include "platform/gfx/DeviceTypes.h"

class Stream;

struct TextureStageSettings {
    TextureStageSettings() = default;
    explicit TextureStageSettings(TextureHandle stageTexture) : texture(stageTexture) {}
    bool operator==(const TextureStageSettings&) const = default;

    TextureHandle texture = nullptr;  // none: the stage sets no texture
    uint32_t colorOp = 4;             // modulate
    uint32_t colorArg1 = 2;           // texture
    uint32_t colorArg2 = 1;           // current
    uint32_t alphaOp = 2;             // select argument 1
    uint32_t alphaArg1 = 2;           // texture
    uint32_t alphaArg2 = 1;           // current
    uint32_t addressU = 1;            // wrap
    uint32_t addressV = 1;
    uint32_t magFilter = 2;  // linear
    uint32_t minFilter = 2;
    uint32_t mipFilter = 2;
};

class Material {
public:
    Material() = default;

    // The colours and power as the device takes them.
    gfx::Material Colours() const;

    // The model cache's record: colours, power, name, then the stages, each with its
    // texture as the writer's identity (0 for none) and the stage values. On reading the
    // stored identities are returned in stage order, for the caller to resolve, and
    // values the device does not take are replaced by safe ones.
    void WriteBinary(Stream& stream, const std::function<uint32_t(TextureHandle)>& textureId) const;
    void ReadBinary(Stream& stream, Array<uint32_t>& stageTextureIds);

    gfx::ColorValue diffuse{0.5f, 0.5f, 0.5f, 1.0f};
    gfx::ColorValue ambient{0.5f, 0.5f, 0.5f, 1.0f};
    gfx::ColorValue specular{1.0f, 1.0f, 1.0f, 1.0f};
    gfx::ColorValue emissive{0.0f, 0.0f, 0.0f, 0.0f};
    float power = 1.0f;
    String name;
    Array<TextureStageSettings> stages;
};
