#pragma once
// The device behind SDL's audio output. SDL's audio thread pulls frames from the mixer;
// when no real device opens, SDL's "dummy" driver pulls them at the same pace and the
// program runs silent. SDL's "disk" driver (SDL_AUDIODRIVER=disk) writes the output to
// the file named by SDL_DISKAUDIOFILE.
#include <cstdint>
#include <string>

#include "platform/sound/SoundDevice.h"

namespace snd {

class SdlSoundDevice final : public SoundDevice {
public:
    static DeviceResult Open(uint32_t outputRate);
    ~SdlSoundDevice() override;

    const char* DriverName() const override { return driver_.c_str(); }
    bool IsSilent() const override { return driver_ == "dummy"; }

private:
    explicit SdlSoundDevice(uint32_t outputRate);
    bool OpenWithCurrentDriver();
    bool OpenWithDummyDriver();

    uint32_t deviceId_ = 0;
    bool subsystemUp_ = false;
    std::string driver_;
};

}  // namespace snd
