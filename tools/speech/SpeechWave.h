#pragma once
// The speech tools' own WAVE reading and writing: 16-bit PCM in, mono samples out; a
// file is written beside its final name and renamed into place, so a reader never sees
// half of it.
#include <cstdint>
#include <string>
#include <vector>

namespace speech {

struct Wave {
    int32_t rate = 0;
    std::vector<int16_t> samples;  // channels mixed down to one
};

// The path with the text after the last '.' of the file name replaced; empty when the
// file name has no extension.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// 16-bit PCM interleaved samples written as a RIFF WAVE file; false on failure.
bool WriteWave(const std::string& path, int32_t rate, int32_t channels, const std::vector<int16_t>& samples);
// False for anything but a sound RIFF WAVE file of 8- or 16-bit PCM.
bool ReadWave(const std::string& path, Wave& wave);
// Writes the text to a temporary file beside the path, then renames it into place.
bool SaveText(const std::string& path, const std::string& text);

}  // namespace speech
