#include "platform/gfx/DeviceTexture.h"

#include <algorithm>

#include "platform/gfx/Device.h"

namespace gfx {

namespace {

// Rows are padded past width x 4 bytes, as display drivers pad them, so code that
// copies pixels as one packed block fails in tests rather than on a player's machine.
constexpr uint32_t kRowAlign = 64;
constexpr uint32_t kRowPadding = 64;

uint32_t PitchFor(uint32_t width) { return (width * 4 + kRowAlign - 1) / kRowAlign * kRowAlign + kRowPadding; }

}  // namespace

DeviceTexture::DeviceTexture(Device& owner, uint32_t width, uint32_t height, uint32_t levels)
    : Resource(owner, ResourceKind::Texture, BufferUsage::Static) {
    const uint32_t count = levels == 0 ? ChainLength(width, height) : std::min(levels, ChainLength(width, height));
    levels_.resize(count);
    for (Level& level : levels_) {
        level.width = width;
        level.height = height;
        level.pitch = PitchFor(width);
        level.bits.assign(static_cast<size_t>(level.pitch) * height, 0);
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
}

uint32_t DeviceTexture::ChainLength(uint32_t width, uint32_t height) {
    uint32_t count = 1;
    for (uint32_t side = std::max(width, height); side > 1; side /= 2) ++count;
    return count;
}

uint32_t DeviceTexture::Width(uint32_t level) const { return level < levels_.size() ? levels_[level].width : 0; }

uint32_t DeviceTexture::Height(uint32_t level) const { return level < levels_.size() ? levels_[level].height : 0; }

uint32_t DeviceTexture::Pitch(uint32_t level) const { return level < levels_.size() ? levels_[level].pitch : 0; }

const uint8_t* DeviceTexture::LevelBits(uint32_t level) const {
    return level < levels_.size() ? levels_[level].bits.data() : nullptr;
}

Result DeviceTexture::LockRect(uint32_t level, LockedRect& out, uint32_t flags) {
    if (level >= levels_.size()) return Result::InvalidParam;
    Level& l = levels_[level];
    if (l.locked) return Result::InvalidCall;
    l.locked = true;
    l.readOnly = (flags & kLockReadOnly) != 0;
    out.bits = l.bits.data();
    out.pitch = l.pitch;
    return Result::Ok;
}

Result DeviceTexture::UnlockRect(uint32_t level) {
    if (level >= levels_.size() || !levels_[level].locked) return Result::InvalidCall;
    levels_[level].locked = false;
    if (!levels_[level].readOnly && Owner() != nullptr) Owner()->TextureChanged(*this, level);
    return Result::Ok;
}

}  // namespace gfx
