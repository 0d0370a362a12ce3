#pragma once
// The fixed-function device's state: render states, texture-stage states and sampler
// states, each an unsigned 32-bit value. The value enums carry the numbers the renderer
// stores in its materials and texture-stage settings (modulate 4, clamp 3, ...), so
// those records hand their values to the device unchanged.
#include <cstdint>

namespace gfx {

constexpr uint32_t kMaxTextureStages = 8;
constexpr uint32_t kMaxLights = 8;
// GL guarantees six user clip planes; the device offers no more on any backend.
constexpr uint32_t kMaxClipPlanes = 6;

enum class RenderState : uint32_t {
    ZEnable,           // bool
    ZWriteEnable,      // bool
    ZFunc,             // Compare
    CullMode,          // Cull
    FillMode,          // Fill
    AlphaBlendEnable,  // bool
    SrcBlend,          // Blend
    DestBlend,         // Blend
    AlphaTestEnable,   // bool
    AlphaRef,          // 0..255
    AlphaFunc,         // Compare
    Lighting,          // bool
    Ambient,           // packed colour 0xAARRGGBB
    SpecularEnable,    // bool
    NormalizeNormals,  // bool
    ColorVertex,       // bool: a vertex colour stands in for the material's diffuse
    FogEnable,         // bool; no backend fogs, the program never asks for fog
    ClipPlaneEnable,   // bit i enables user clip plane i
    TextureFactor,     // packed colour, the Factor argument of the texture stages
    Count
};

enum class Compare : uint32_t { Never = 1, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
// Which screen-space winding is discarded.
enum class Cull : uint32_t { None = 1, Clockwise, CounterClockwise };
enum class Fill : uint32_t { Point = 1, Wireframe, Solid };
enum class Blend : uint32_t {
    Zero = 1,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
    SrcAlphaSat
};

enum class TextureStageState : uint32_t {
    ColorOp,
    ColorArg1,
    ColorArg2,
    AlphaOp,
    AlphaArg1,
    AlphaArg2,
    TexCoordIndex,  // which coordinate set of the vertex the stage samples with
    Count
};

// Stages run in order until the first whose colour operation is Disable.
enum class TextureOp : uint32_t {
    Disable = 1,
    SelectArg1 = 2,
    SelectArg2 = 3,
    Modulate = 4,
    Modulate2x = 5,
    Modulate4x = 6,
    Add = 7,
    AddSigned = 8,  // arg1 + arg2 - 0.5
    AddSigned2x = 9,
    Subtract = 10,           // arg1 - arg2
    BlendDiffuseAlpha = 12,  // arg1 x a + arg2 x (1 - a), a from the named source
    BlendTextureAlpha = 13,
    BlendFactorAlpha = 14,
    BlendCurrentAlpha = 16,
};

// An argument is a source, optionally ORed with modifiers.
enum TextureArg : uint32_t {
    kArgDiffuse = 0,  // the lit (or unlit vertex) colour
    kArgCurrent = 1,  // the previous stage's result; the diffuse colour at stage 0
    kArgTexture = 2,  // the stage's texture; opaque white when the stage has none
    kArgFactor = 3,   // RenderState::TextureFactor
    kArgSourceMask = 0x0F,
    kArgComplement = 0x10,      // 1 - value
    kArgAlphaReplicate = 0x20,  // the alpha in every channel
};

enum class SamplerState : uint32_t {
    AddressU,
    AddressV,
    BorderColor,  // packed colour for Address::Border
    MagFilter,
    MinFilter,
    MipFilter,
    Count
};

enum class Address : uint32_t { Wrap = 1, Mirror = 2, Clamp = 3, Border = 4 };
enum class Filter : uint32_t { None = 0, Point = 1, Linear = 2, Anisotropic = 3 };

// What a freshly created or reset device holds.
uint32_t DefaultRenderState(RenderState state);
uint32_t DefaultTextureStageState(uint32_t stage, TextureStageState state);
uint32_t DefaultSamplerState(SamplerState state);

// Values outside a state's range are refused rather than stored, so a bad number
// shows up at the call that set it.
bool IsValidRenderState(RenderState state, uint32_t value);
bool IsValidTextureStageState(TextureStageState state, uint32_t value);
bool IsValidSamplerState(SamplerState state, uint32_t value);

const char* RenderStateName(RenderState state);
const char* TextureStageStateName(TextureStageState state);
const char* SamplerStateName(SamplerState state);

}  // namespace gfx
