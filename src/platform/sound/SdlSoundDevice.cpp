#include "platform/sound/SdlSoundDevice.h"

#include <SDL2/SDL.h>

namespace snd {
namespace {

// Frames per callback: about 23 ms at 22050 Hz, short enough to stay inside the
// streaming thread's refill margin, long enough for the callback to stay cheap.
constexpr Uint16 kCallbackFrames = 512;

void SDLCALL MixCallback(void* mixer, Uint8* stream, int bytes) {
    // The device was opened as 16-bit stereo with no format change allowed: 4 bytes a frame.
    static_cast<Mixer*>(mixer)->Mix(reinterpret_cast<int16_t*>(stream), uint32_t(bytes) / 4);
}

}  // namespace

SdlSoundDevice::SdlSoundDevice(uint32_t outputRate) : SoundDevice(outputRate) {}

SdlSoundDevice::~SdlSoundDevice() {
    // Closing waits for the callback to return, so the mixer is idle afterwards.
    if (deviceId_ != 0) SDL_CloseAudioDevice(deviceId_);
    if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

DeviceResult SdlSoundDevice::Open(uint32_t outputRate) {
    DeviceResult opened;
    std::unique_ptr<SdlSoundDevice> device(new SdlSoundDevice(outputRate));
    if (!device->OpenWithCurrentDriver() && !device->OpenWithDummyDriver()) {
        opened.result = Result::NoDevice;
        return opened;
    }
    SDL_PauseAudioDevice(device->deviceId_, 0);
    opened.device = std::move(device);
    return opened;
}

bool SdlSoundDevice::OpenWithCurrentDriver() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystemUp_ = true;
    SDL_AudioSpec want{};
    want.freq = int(PrimaryFormat().rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kCallbackFrames;
    want.callback = MixCallback;
    want.userdata = &GetMixer();
    SDL_AudioSpec have{};
    // No change allowed: SDL converts to whatever the hardware takes, so the mixer always
    // produces its own primary format.
    deviceId_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (deviceId_ != 0) {
        const char* name = SDL_GetCurrentAudioDriver();
        driver_ = name != nullptr ? name : "";
        return true;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemUp_ = false;
    return false;
}

bool SdlSoundDevice::OpenWithDummyDriver() {
    // The override beats an SDL_AUDIODRIVER naming a driver that failed; it is dropped
    // again at once so that later opens look for a real device first.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool opened = OpenWithCurrentDriver();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return opened;
}

}  // namespace snd
