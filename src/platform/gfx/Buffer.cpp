#include "platform/gfx/Buffer.h"

#include "platform/gfx/Device.h"

namespace gfx {

Buffer::Buffer(Device& owner, ResourceKind kind, uint32_t size, BufferUsage usage)
    : Resource(owner, kind, usage), bytes_(size, 0) {}

Result Buffer::Lock(uint32_t offset, uint32_t size, uint8_t*& out, uint32_t flags) {
    if (locked_) return Result::InvalidCall;
    const uint64_t end = size == 0 ? bytes_.size() : uint64_t(offset) + size;
    if (offset >= bytes_.size() || end > bytes_.size()) return Result::InvalidParam;
    locked_ = true;
    readOnly_ = (flags & kLockReadOnly) != 0;
    discard_ = (flags & kLockDiscard) != 0;
    lockOffset_ = offset;
    lockSize_ = static_cast<uint32_t>(end - offset);
    out = bytes_.data() + offset;
    return Result::Ok;
}

Result Buffer::Unlock() {
    if (!locked_) return Result::InvalidCall;
    locked_ = false;
    if (!readOnly_ && Owner() != nullptr) Owner()->BufferChanged(*this, lockOffset_, lockSize_, discard_);
    return Result::Ok;
}

}  // namespace gfx
