#pragma once
// Buffers filled with known samples, and views of the null device's output.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sound/NullSoundDevice.h"

namespace sound_test {

constexpr uint32_t kVolumePan = snd::kCtrlVolume | snd::kCtrlPan;

// Little-endian bytes of 16-bit samples (interleaved when stereo).
inline std::vector<uint8_t> Bytes16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(uint8_t(uint16_t(s) & 0xFF));
        bytes.push_back(uint8_t(uint16_t(s) >> 8));
    }
    return bytes;
}

// The 16-bit samples of a file of little-endian bytes, as SDL's "disk" driver writes them.
inline std::vector<int16_t> ReadSamples16(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = int16_t(uint16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8)));
    }
    return samples;
}

inline void Write(snd::SoundBuffer& buffer, uint32_t offset, const std::vector<uint8_t>& bytes) {
    snd::LockedRegion region;
    ASSERT_EQ(buffer.Lock(offset, uint32_t(bytes.size()), region), snd::Result::Ok);
    std::memcpy(region.part1, bytes.data(), region.bytes1);
    if (region.bytes2 > 0) std::memcpy(region.part2, bytes.data() + region.bytes1, region.bytes2);
    ASSERT_EQ(buffer.Unlock(region), snd::Result::Ok);
}

inline std::unique_ptr<snd::SoundBuffer> MakeBuffer(snd::SoundDevice& device, snd::PcmFormat format,
                                                    const std::vector<uint8_t>& bytes, uint32_t flags = kVolumePan) {
    snd::BufferResult made = device.CreateBuffer({format, uint32_t(bytes.size()), flags});
    EXPECT_EQ(made.result, snd::Result::Ok);
    if (made.buffer) Write(*made.buffer, 0, bytes);
    return std::move(made.buffer);
}

// 16-bit buffer of the given samples (interleaved when stereo).
inline std::unique_ptr<snd::SoundBuffer> Make16(snd::SoundDevice& device, const std::vector<int16_t>& samples,
                                                uint16_t channels = 1, uint32_t rate = 22050,
                                                uint32_t flags = kVolumePan) {
    return MakeBuffer(device, {channels, rate, 16}, Bytes16(samples), flags);
}

inline std::vector<int16_t> Left(const std::vector<int16_t>& output) {
    std::vector<int16_t> left;
    for (size_t i = 0; i < output.size(); i += 2) left.push_back(output[i]);
    return left;
}

inline std::vector<int16_t> Right(const std::vector<int16_t>& output) {
    std::vector<int16_t> right;
    for (size_t i = 1; i < output.size(); i += 2) right.push_back(output[i]);
    return right;
}

// Advances the device and returns just the new frames, interleaved.
inline std::vector<int16_t> Mix(snd::NullSoundDevice& device, uint32_t frames) {
    device.ClearOutput();
    device.Advance(frames);
    return device.Output();
}

}  // namespace sound_test
