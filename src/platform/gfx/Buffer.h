#pragma once
// Vertex and index buffers. Their bytes live in memory; unlocking hands the written
// range to the backend, whose store for a buffer comes with its first write. A dynamic
// buffer is rewritten with a discarding lock: the backend writes the locked range into
// the store it has when the range fits there, and makes a fresh store of the range
// otherwise. One that has grown too small is replaced by a new, larger one, which costs
// no more than the first creation did.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Resource.h"
#include "platform/gfx/Result.h"
#include "platform/gfx/VertexFormat.h"

namespace gfx {

class Buffer : public Resource {
public:
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
    const uint8_t* Data() const { return bytes_.data(); }

    // size 0 locks from offset to the end. A range past the end is refused, so a
    // caller that outgrew the buffer learns it before writing.
    Result Lock(uint32_t offset, uint32_t size, uint8_t*& out, uint32_t flags = kLockNone);
    Result Unlock();
    bool IsLocked() const { return locked_; }
    // Counts the unlocks that handed written bytes over: what was worked out from the
    // contents before a later one is stale.
    uint32_t Writes() const { return writes_; }
    // The bytes the backend's store holds: the buffer's first ones, as they stand here
    // (0 before the backend has made one).
    uint32_t StoredBytes() const { return storedBytes_; }

protected:
    Buffer(Device& owner, ResourceKind kind, uint32_t size, BufferUsage usage);

private:
    friend class Device;

    std::vector<uint8_t> bytes_;
    uint32_t writes_ = 0;
    // Kept by the backend, which sees the buffer through draws as a constant.
    mutable uint32_t storedBytes_ = 0;
    bool locked_ = false;
    bool readOnly_ = false;
    bool discard_ = false;
    uint32_t lockOffset_ = 0;
    uint32_t lockSize_ = 0;
};

class VertexBuffer : public Buffer {
public:
    VertexBuffer(Device& owner, uint32_t size, BufferUsage usage)
        : Buffer(owner, ResourceKind::VertexBuffer, size, usage) {}
};

// The lowest and highest of a run of indices.
struct IndexSpan {
    uint32_t lowest = 0;
    uint32_t highest = 0;
};

class IndexBuffer : public Buffer {
public:
    IndexBuffer(Device& owner, uint32_t size, IndexFormat format, BufferUsage usage)
        : Buffer(owner, ResourceKind::IndexBuffer, size, usage), format_(format) {}

    IndexFormat Format() const { return format_; }
    uint32_t IndexSize() const { return static_cast<uint32_t>(format_); }
    uint32_t IndexAt(uint32_t i) const;

    // The span of count (> 0) indices from first, which must lie inside the buffer. A
    // mesh draws the same runs frame after frame: each run is read once per write.
    IndexSpan Span(uint32_t first, uint32_t count) const;
    // Indices read by Span so far.
    uint64_t IndicesScanned() const { return scanned_; }

private:
    IndexFormat format_;
    mutable std::unordered_map<uint64_t, IndexSpan> spans_;
    mutable uint32_t spansWrites_ = 0;
    mutable uint64_t scanned_ = 0;
};

}  // namespace gfx
