#pragma once
// The headless device: nothing plays until the caller advances its clock. Advance keeps
// the mixed frames for the caller to read; Play lets them go as a sound card would, so a
// program without speakers still hears its clips end. It can also simulate the loss of
// every buffer.
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
    // Mixes the next frames and keeps none of them: time passing for whoever plays.
    void Play(uint32_t frames);

    // Starting a loss makes every buffer lost: stopped, its samples gone, Play and Lock
    // refused with BufferLost and Restore too while the loss lasts.
    void SimulateLoss(bool active);

    const char* DriverName() const override { return "null"; }
    bool IsSilent() const override { return true; }

private:
    std::vector<int16_t> output_;
    std::vector<int16_t> discarded_;
};

}  // namespace snd
