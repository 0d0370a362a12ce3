#pragma once
// Sample buffers to file bytes: Ogg Vorbis through the reference encoder and 16-bit PCM
// RIFF WAVE. Samples are floats in -1..1, interleaved by channel.
#include <string>
#include <vector>

namespace assetgen {

constexpr int kSoundRate = 22050;

// The stream's serial number is fixed, so the same samples give the same bytes.
std::string EncodeOgg(const std::vector<float>& samples, int channels, int rate, float quality = 0.3f);
std::string EncodeWav(const std::vector<float>& samples, int channels, int rate);

}  // namespace assetgen
