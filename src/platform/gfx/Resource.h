#pragma once
// Base of the objects a device creates. The caller owns them; the device keeps a list of
// the living ones, so it can count them, refuse a reset while dynamic ones live, and
// release their backend objects (GL names) while its context still exists. An object
// that outlives its device is orphaned: it keeps its memory and does nothing else.
#include <cstdint>

#include "platform/gfx/DeviceTypes.h"

namespace gfx {

class Device;

enum class ResourceKind : uint32_t { Texture, VertexBuffer, IndexBuffer, Count };

class Resource {
public:
    virtual ~Resource();
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    ResourceKind Kind() const { return kind_; }
    BufferUsage Usage() const { return usage_; }
    bool IsOrphaned() const { return owner_ == nullptr; }

    // The backend's name for the object (a GL texture or buffer name); 0 for none.
    uint32_t Handle() const { return handle_; }
    void SetHandle(uint32_t handle) { handle_ = handle; }

protected:
    Resource(Device& owner, ResourceKind kind, BufferUsage usage);
    Device* Owner() const { return owner_; }

private:
    friend class Device;

    Device* owner_;
    ResourceKind kind_;
    BufferUsage usage_;
    uint32_t handle_ = 0;
};

}  // namespace gfx
