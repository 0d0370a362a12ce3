#include "platform/sound/NullSoundDevice.h"

#include <mutex>

namespace snd {

NullSoundDevice::NullSoundDevice(uint32_t outputRate) : SoundDevice(outputRate) {}

void NullSoundDevice::Advance(uint32_t frames) {
    const size_t start = output_.size();
    output_.resize(start + 2 * size_t(frames));
    GetMixer().Mix(output_.data() + start, frames);
}

void NullSoundDevice::Play(uint32_t frames) {
    discarded_.resize(2 * size_t(frames));
    GetMixer().Mix(discarded_.data(), frames);
}

void NullSoundDevice::SimulateLoss(bool active) {
    std::lock_guard<std::mutex> guard(GetMixer().Mutex());
    GetMixer().SetLoss(active);
}

}  // namespace snd
