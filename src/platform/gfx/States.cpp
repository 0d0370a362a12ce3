#include "platform/gfx/States.h"

#include <array>

namespace gfx {

namespace {

constexpr uint32_t U(auto e) { return static_cast<uint32_t>(e); }

bool IsBool(uint32_t v) { return v <= 1; }
bool InRange(uint32_t v, auto first, auto last) { return v >= U(first) && v <= U(last); }

bool IsTextureOp(uint32_t v) {
    return InRange(v, TextureOp::Disable, TextureOp::Subtract) ||
           InRange(v, TextureOp::BlendDiffuseAlpha, TextureOp::BlendFactorAlpha) ||
           v == U(TextureOp::BlendCurrentAlpha);
}

bool IsTextureArg(uint32_t v) {
    constexpr uint32_t modifiers = kArgComplement | kArgAlphaReplicate;
    return (v & ~(kArgSourceMask | modifiers)) == 0 && (v & kArgSourceMask) <= kArgFactor;
}

}  // namespace

uint32_t DefaultRenderState(RenderState state) {
    switch (state) {
        case RenderState::ZEnable:
        case RenderState::ZWriteEnable:
        case RenderState::Lighting:
        case RenderState::ColorVertex: return 1;
        case RenderState::ZFunc: return U(Compare::LessEqual);
        case RenderState::CullMode: return U(Cull::CounterClockwise);
        case RenderState::FillMode: return U(Fill::Solid);
        case RenderState::SrcBlend: return U(Blend::One);
        case RenderState::DestBlend: return U(Blend::Zero);
        case RenderState::AlphaFunc: return U(Compare::Always);
        case RenderState::TextureFactor: return 0xFFFFFFFFu;
        default: return 0;
    }
}

uint32_t DefaultTextureStageState(uint32_t stage, TextureStageState state) {
    switch (state) {
        case TextureStageState::ColorOp: return U(stage == 0 ? TextureOp::Modulate : TextureOp::Disable);
        case TextureStageState::AlphaOp: return U(stage == 0 ? TextureOp::SelectArg1 : TextureOp::Disable);
        case TextureStageState::ColorArg1:
        case TextureStageState::AlphaArg1: return kArgTexture;
        case TextureStageState::ColorArg2:
        case TextureStageState::AlphaArg2: return kArgCurrent;
        case TextureStageState::TexCoordIndex: return stage;
        default: return 0;
    }
}

uint32_t DefaultSamplerState(SamplerState state) {
    switch (state) {
        case SamplerState::AddressU:
        case SamplerState::AddressV: return U(Address::Wrap);
        case SamplerState::MagFilter:
        case SamplerState::MinFilter: return U(Filter::Point);
        default: return 0;  // border colour transparent black, no mip filtering
    }
}

bool IsValidRenderState(RenderState state, uint32_t value) {
    switch (state) {
        case RenderState::ZFunc:
        case RenderState::AlphaFunc: return InRange(value, Compare::Never, Compare::Always);
        case RenderState::CullMode: return InRange(value, Cull::None, Cull::CounterClockwise);
        case RenderState::FillMode: return InRange(value, Fill::Point, Fill::Solid);
        case RenderState::SrcBlend:
        case RenderState::DestBlend: return InRange(value, Blend::Zero, Blend::SrcAlphaSat);
        case RenderState::AlphaRef: return value <= 255;
        case RenderState::Ambient:
        case RenderState::TextureFactor: return true;
        case RenderState::ClipPlaneEnable: return value < (1u << kMaxClipPlanes);
        case RenderState::Count: return false;
        default: return IsBool(value);
    }
}

bool IsValidTextureStageState(TextureStageState state, uint32_t value) {
    switch (state) {
        case TextureStageState::ColorOp:
        case TextureStageState::AlphaOp: return IsTextureOp(value);
        case TextureStageState::TexCoordIndex: return value < kMaxTextureStages;
        case TextureStageState::Count: return false;
        default: return IsTextureArg(value);
    }
}

bool IsValidSamplerState(SamplerState state, uint32_t value) {
    switch (state) {
        case SamplerState::AddressU:
        case SamplerState::AddressV: return InRange(value, Address::Wrap, Address::Border);
        case SamplerState::BorderColor: return true;
        case SamplerState::MagFilter:
        case SamplerState::MinFilter: return InRange(value, Filter::Point, Filter::Anisotropic);
        case SamplerState::MipFilter: return InRange(value, Filter::None, Filter::Linear);
        case SamplerState::Count: return false;
    }
    return false;
}

const char* RenderStateName(RenderState state) {
    static constexpr std::array<const char*, U(RenderState::Count)> names = {
        "ZEnable",          "ZWriteEnable", "ZFunc",           "CullMode",        "FillMode",
        "AlphaBlendEnable", "SrcBlend",     "DestBlend",       "AlphaTestEnable", "AlphaRef",
        "AlphaFunc",        "Lighting",     "Ambient",         "SpecularEnable",  "NormalizeNormals",
        "ColorVertex",      "FogEnable",    "ClipPlaneEnable", "TextureFactor"};
    return U(state) < names.size() ? names[U(state)] : "?";
}

const char* TextureStageStateName(TextureStageState state) {
    static constexpr std::array<const char*, U(TextureStageState::Count)> names = {
        "ColorOp", "ColorArg1", "ColorArg2", "AlphaOp", "AlphaArg1", "AlphaArg2", "TexCoordIndex"};
    return U(state) < names.size() ? names[U(state)] : "?";
}

const char* SamplerStateName(SamplerState state) {
    static constexpr std::array<const char*, U(SamplerState::Count)> names = {"AddressU",  "AddressV",  "BorderColor",
                                                                              "MagFilter", "MinFilter", "MipFilter"};
    return U(state) < names.size() ? names[U(state)] : "?";
}

}  // namespace gfx
