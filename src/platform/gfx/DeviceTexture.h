#pragma once
// A texture of 32-bit colours stored blue, green, red, alpha, with one or more mip
// levels. The pixels live in memory (so they survive a device reset); unlocking a level
// hands it to the backend.
#include <cstdint>
#include <vector>

#include "platform/gfx/Resource.h"
#include "platform/gfx/Result.h"

namespace gfx {

struct LockedRect {
    uint8_t* bits = nullptr;
    uint32_t pitch = 0;  // bytes from one row to the next; never assume width x 4
};

class DeviceTexture : public Resource {
public:
    // Levels 0 means the whole chain down to 1 x 1. Use Device::CreateTexture.
    DeviceTexture(Device& owner, uint32_t width, uint32_t height, uint32_t levels);

    uint32_t LevelCount() const { return static_cast<uint32_t>(levels_.size()); }
    uint32_t Width(uint32_t level = 0) const;
    uint32_t Height(uint32_t level = 0) const;
    uint32_t Pitch(uint32_t level = 0) const;
    const uint8_t* LevelBits(uint32_t level) const;

    // One lock at a time per level. A read-only lock does not upload on unlock.
    Result LockRect(uint32_t level, LockedRect& out, uint32_t flags = kLockNone);
    Result UnlockRect(uint32_t level);

    // Full mip chain length of a size.
    static uint32_t ChainLength(uint32_t width, uint32_t height);

private:
    struct Level {
        uint32_t width = 0, height = 0, pitch = 0;
        std::vector<uint8_t> bits;
        bool locked = false;
        bool readOnly = false;
    };

    std::vector<Level> levels_;
};

}  // namespace gfx
