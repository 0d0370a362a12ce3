#pragma once
// Linear PCM sample format: 8-bit samples are unsigned (silence 0x80), 16-bit samples
// signed little-endian; stereo frames hold left then right.
#include <cstdint>

namespace snd {

struct PcmFormat {
    uint16_t channels = 2;
    uint32_t rate = 22050;
    uint16_t bits = 16;

    uint32_t BlockAlign() const { return uint32_t(channels) * (bits / 8u); }
    uint32_t BytesPerSecond() const { return BlockAlign() * rate; }
    uint8_t SilenceByte() const { return bits == 8 ? 0x80 : 0; }

    friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

// Rates outside this range are refused: below it a buffer is not sound any more, above
// it the resampling step would skip most of the data.
constexpr uint32_t kMinRate = 100;
constexpr uint32_t kMaxRate = 200000;

// The format the device mixes to, unless it is opened with another rate.
constexpr PcmFormat kPrimaryFormat{2, 22050, 16};

inline bool IsValidFormat(const PcmFormat& f) {
    return (f.channels == 1 || f.channels == 2) && (f.bits == 8 || f.bits == 16) && f.rate >= kMinRate &&
           f.rate <= kMaxRate;
}

}  // namespace snd
