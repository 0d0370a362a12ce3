#include "platform/gfx/VertexFormat.h"

namespace gfx {

VertexLayout LayoutOf(VertexFormat format) {
    constexpr uint32_t known =
        kFormatPosition | kFormatScreenPosition | kFormatNormal | kFormatDiffuse | kFormatTexCountMask;
    VertexLayout layout;
    const bool xyz = (format & kFormatPosition) != 0;
    const bool rhw = (format & kFormatScreenPosition) != 0;
    layout.hasNormal = (format & kFormatNormal) != 0;
    layout.hasDiffuse = (format & kFormatDiffuse) != 0;
    layout.texCount = FormatTexCount(format);
    if ((format & ~known) != 0 || xyz == rhw || (rhw && layout.hasNormal) || layout.texCount > kMaxTexCoordSets)
        return layout;
    layout.valid = true;
    layout.pretransformed = rhw;
    uint32_t offset = rhw ? 16 : 12;
    if (layout.hasNormal) {
        layout.normalOffset = offset;
        offset += 12;
    }
    if (layout.hasDiffuse) {
        layout.diffuseOffset = offset;
        offset += 4;
    }
    layout.texOffset = offset;
    layout.stride = offset + 8 * layout.texCount;
    return layout;
}

}  // namespace gfx
