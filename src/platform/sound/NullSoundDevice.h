#pragma once
// The headless device: nothing plays until the caller advances its clock, and the mixed
// frames are kept for the caller to read. It can also simulate the loss of every buffer.
#include <cstdint>
#include <vector>

#include "platform/sound/SoundDevice.h"

namespace snd {

class NullSoundDevice final : public SoundDevice {
public:
    explicit NullSoundDevice(uint32_t outputRate = kPrimaryFormat.rate);

    // Mixes the next frames of output and appends them to Output().
    void Advance(uint32_t frames);
    // Interleaved left, right samples of every frame advanced since the last clear.
    const std::vector<int16_t>& Output() const { return output_; }
    void ClearOutput() { output_.clear(); }

    // Starting a loss makes every buffer lost: stopped, its samples gone, Play and Lock
    // refused with BufferLost and Restore too while the loss lasts.
    void SimulateLoss(bool active);

    const char* DriverName() const override { return "null"; }
    bool IsSilent() const override { return true; }

private:
    std::vector<int16_t> output_;
};

}  // namespace snd
