#include "platform/gfx/Buffer.h"

#include <algorithm>

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
    if (!readOnly_) ++writes_;
    if (!readOnly_ && Owner() != nullptr) Owner()->BufferChanged(*this, lockOffset_, lockSize_, discard_);
    return Result::Ok;
}

uint32_t IndexBuffer::IndexAt(uint32_t i) const {
    const uint8_t* p = Data() + size_t(i) * IndexSize();
    if (format_ == IndexFormat::Index16) return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

IndexSpan IndexBuffer::Span(uint32_t first, uint32_t count) const {
    if (spansWrites_ != Writes()) {
        spans_.clear();
        spansWrites_ = Writes();
    }
    const uint64_t key = uint64_t(first) << 32 | count;
    if (auto found = spans_.find(key); found != spans_.end()) return found->second;
    IndexSpan span{IndexAt(first), IndexAt(first)};
    for (uint32_t i = first + 1; i < first + count; ++i) {
        const uint32_t index = IndexAt(i);
        span.lowest = std::min(span.lowest, index);
        span.highest = std::max(span.highest, index);
    }
    scanned_ += count;
    spans_.emplace(key, span);
    return span;
}

}  // namespace gfx
