#include "platform/gfx/VertexFormat.h"

namespace gfx {

VertexLayout LayoutOf(VertexFormat format)
{
    constexpr uint32_t known = kFvfXyz | kFvfXyzRhw | kFvfNormal | kFvfDiffuse | kFvfTexCountMask;
    VertexLayout layout;
    const bool xyz = (format & kFvfXyz) != 0;
    const bool rhw = (format & kFvfXyzRhw) != 0;
    layout.hasNormal = (format & kFvfNormal) != 0;
    layout.hasDiffuse = (format & kFvfDiffuse) != 0;
    layout.texCount = FvfTexCount(format);
    if ((format & ~known) != 0 || xyz == rhw || (rhw && layout.hasNormal) ||
        layout.texCount > kMaxTexCoordSets)
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
