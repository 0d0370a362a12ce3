#pragma once
// Vertex formats as flag sets. Components lie in this order: position (x, y, z, plus
// rhw for pre-transformed screen vertices), normal, packed diffuse colour, then the
// texture-coordinate pairs.
#include <cstdint>

namespace gfx {

using VertexFormat = uint32_t;

enum VertexFormatBits : uint32_t {
    kFormatPosition = 0x1,
    // Screen pixels (y downwards), depth 0..1, reciprocal w: drawn without transform
    // or lighting.
    kFormatScreenPosition = 0x2,
    kFormatNormal = 0x4,
    kFormatDiffuse = 0x8,
    kFormatTexCountShift = 8,
    kFormatTexCountMask = 0xF00,
};

constexpr uint32_t kMaxTexCoordSets = 8;

constexpr VertexFormat FormatTex(uint32_t sets) { return sets << kFormatTexCountShift; }
constexpr uint32_t FormatTexCount(VertexFormat format) {
    return (format & kFormatTexCountMask) >> kFormatTexCountShift;
}

// Byte offsets of a format's components; offsets of absent parts are 0.
struct VertexLayout {
    bool valid = false;
    bool pretransformed = false;
    bool hasNormal = false;
    bool hasDiffuse = false;
    uint32_t normalOffset = 0;
    uint32_t diffuseOffset = 0;
    uint32_t texOffset = 0;
    uint32_t texCount = 0;
    uint32_t stride = 0;
};

// Invalid: no position, both position kinds, a normal with screen vertices, more than
// kMaxTexCoordSets pairs, or unknown bits.
VertexLayout LayoutOf(VertexFormat format);

}  // namespace gfx
