#pragma once
// The sound device: it makes buffers and mixes the playing ones into its primary format,
// 16-bit stereo at its output rate (22050 Hz unless opened otherwise). Two backends share
// everything but the clock: SdlSoundDevice is driven by SDL's audio thread, and
// NullSoundDevice by the test that advances it.
#include <cstdint>
#include <memory>

#include "platform/sound/Mixer.h"
#include "platform/sound/PcmFormat.h"
#include "platform/sound/Result.h"
#include "platform/sound/SoundBuffer.h"

namespace snd {

class SoundDevice;

struct BufferResult {
    Result result = Result::Ok;
    std::unique_ptr<SoundBuffer> buffer;  // set only when result is Ok
};

struct DeviceResult {
    Result result = Result::Ok;
    std::unique_ptr<SoundDevice> device;  // set only when result is Ok
};

enum class DeviceKind {
    Sdl,   // SDL's audio device; SDL's silent "dummy" driver when none opens
    Null,  // no output; the caller's clock drives the mixer
};

class SoundDevice {
public:
    virtual ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    PcmFormat PrimaryFormat() const;

    // A silent, stopped buffer at position 0, volume 0 and pan 0. Refused: an invalid
    // format, a size below one frame or above kMaxBufferBytes, unknown flags, or pan
    // together with 3-D control.
    BufferResult CreateBuffer(const BufferDesc& desc);
    // A new buffer sharing the original's samples, with its volume, pan, frequency and
    // place, stopped at position 0. It plays, stops and changes independently.
    BufferResult DuplicateBuffer(const SoundBuffer& original);
    // Applies every place set with Apply::Deferred.
    void CommitDeferredSettings();

    virtual const char* DriverName() const = 0;
    // True when nothing reaches a speaker (the null device, SDL's dummy driver).
    virtual bool IsSilent() const = 0;

protected:
    explicit SoundDevice(uint32_t outputRate);
    Mixer& GetMixer() { return *mixer_; }

private:
    std::shared_ptr<Mixer> mixer_;
};

// Opens a device of the given kind mixing at outputRate (8000..192000 Hz). Fails with
// NoDevice when not even SDL's dummy driver opens, InvalidParam for a bad rate.
DeviceResult OpenSoundDevice(DeviceKind kind, uint32_t outputRate = kPrimaryFormat.rate);

}  // namespace snd
