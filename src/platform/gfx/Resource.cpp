#include "platform/gfx/Resource.h"

#include "platform/gfx/Device.h"

namespace gfx {

Resource::Resource(Device& owner, ResourceKind kind, BufferUsage usage) : owner_(&owner), kind_(kind), usage_(usage) {
    owner.Register(*this);
}

Resource::~Resource() {
    if (owner_ != nullptr) owner_->Unregister(*this);
}

}  // namespace gfx
