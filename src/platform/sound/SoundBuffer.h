#pragma once
// A secondary buffer: PCM samples of one format that the device mixes into its output,
// with its own play position, volume, pan, frequency and (for positional buffers) place.
// Buffers are made by a SoundDevice and may outlive it. Every call is safe from any
// thread; the streaming thread typically locks and reads cursors while the main thread
// plays and sets volumes.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sound/Mixer.h"
#include "platform/sound/PcmFormat.h"
#include "platform/sound/Result.h"

namespace snd {

// Controls a buffer is made with; a setter whose control is missing returns Unsupported.
enum BufferFlags : uint32_t {
    kCtrlVolume = 1u << 0,
    kCtrlPan = 1u << 1,
    kCtrlFrequency = 1u << 2,
    kCtrl3D = 1u << 3,  // positional; cannot be combined with kCtrlPan
    // Asks for exact cursors. Ours are always exact; the flag is kept for the caller's sake.
    kPrecisePosition = 1u << 4,
    // Asks for mixing in software, which is all this device does.
    kSoftwareMixing = 1u << 5,
    kAllBufferFlags = (1u << 6) - 1,
};

enum PlayFlags : uint32_t {
    kPlayOnce = 0,
    kPlayLooping = 1u << 0,
};

enum StatusBits : uint32_t {
    kStatusPlaying = 1u << 0,
    kStatusLost = 1u << 1,
    kStatusLooping = 1u << 2,
};

enum class Apply {
    Immediate,
    Deferred,  // takes effect at SoundDevice::CommitDeferredSettings
};

struct BufferDesc {
    PcmFormat format;
    uint32_t bytes = 0;
    uint32_t flags = kCtrlVolume;
};

// A buffer holds at least one frame and at most this many bytes: more than any effect
// needs, and a damaged header cannot make it allocate gigabytes.
constexpr uint32_t kMaxBufferBytes = 64u << 20;

constexpr int32_t kVolumeMin = -10000;  // hundredths of a decibel: silence
constexpr int32_t kVolumeMax = 0;
constexpr int32_t kPanLeft = -10000;
constexpr int32_t kPanRight = 10000;

// The bytes handed out by Lock: the region from the offset to the buffer's end, and the
// rest from the buffer's start when the region wraps. A wrapping region is the only case
// with a second part.
struct LockedRegion {
    uint8_t* part1 = nullptr;
    uint32_t bytes1 = 0;
    uint8_t* part2 = nullptr;
    uint32_t bytes2 = 0;
};

// Byte offsets. play: the next frame the mixer reads. write: the first byte that is safe
// to overwrite while playing (the mixer may still read the frame after the play cursor
// to interpolate); equal to play when stopped.
struct Cursors {
    uint32_t play = 0;
    uint32_t write = 0;
};

class SoundBuffer {
public:
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    const PcmFormat& Format() const { return format_; }
    uint32_t Bytes() const { return bytes_; }
    uint32_t Flags() const { return flags_; }

    // Hands out the bytes from offset (offset < Bytes(), bytes <= Bytes()), wrapping past
    // the end. The parts hold the buffer's current contents; what is written into them
    // becomes audible at Unlock, which takes the region as returned, its lengths possibly
    // lowered to the bytes actually written. A lost buffer gives BufferLost and no parts.
    Result Lock(uint32_t offset, uint32_t bytes, LockedRegion& region);
    Result Unlock(const LockedRegion& region);

    // Starts playing from the current position; a playing buffer keeps playing from
    // where it is and only takes the new looping choice. Played once, a buffer stops at
    // its end with its position back at the start.
    Result Play(uint32_t playFlags);
    // Stops; the position stays where the mixer left it.
    void Stop();
    Result SetCurrentPosition(uint32_t offset);
    Cursors CurrentPosition() const;
    uint32_t Status() const;
    bool IsPlaying() const { return (Status() & kStatusPlaying) != 0; }

    // Volume and pan are clamped into their ranges. The level applied is the linear gain
    // 10^(v / 2000); a pan of p attenuates the opposite channel by |p| in the same law.
    Result SetVolume(int32_t hundredths);
    int32_t Volume() const;
    Result SetPan(int32_t hundredths);
    int32_t Pan() const;
    // Samples per second (kMinRate..kMaxRate), or 0 for the format's own rate. Every
    // buffer is resampled to the output rate by linear interpolation between frames.
    Result SetFrequency(uint32_t hertz);
    uint32_t Frequency() const;

    // Place of a positional buffer. The listener stays at the origin facing +z, with +x
    // to its right: the level falls as 1 / distance beyond one unit, and the far ear is
    // attenuated by up to 20 dB as the source moves to one side.
    Result SetPosition3D(float x, float y, float z, Apply apply = Apply::Immediate);
    Point3 Position3D() const;

    // Gives a lost buffer its memory back (silent) once the device allows it; the caller
    // refills it. A buffer that is not lost is left as it is.
    Result Restore();

private:
    friend class SoundDevice;
    SoundBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<SampleData> data, uint32_t flags);

    std::shared_ptr<Mixer> mixer_;
    const PcmFormat format_;
    const uint32_t bytes_;
    const uint32_t flags_;
    Voice voice_;
    std::vector<uint8_t> staging_;
    bool locked_ = false;
    uint32_t lockOffset_ = 0;
    LockedRegion lockedRegion_;
};

}  // namespace snd
