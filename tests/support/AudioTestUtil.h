#pragma once
// Test assets made on the spot: RIFF WAVE bytes written by hand, Ogg Vorbis encoded with
// the reference encoder, and the reference decode of an Ogg file to compare against.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Debugger.h"
#include "support/TempFolder.h"

namespace audio_test {

using Samples = std::vector<int16_t>;

using platform_test::TempFolder;

// Collects the debug log's lines while alive.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::string& Text() const { return text_; }
    bool Contains(const std::string& part) const { return text_.find(part) != std::string::npos; }

private:
    std::string text_;
    bool output_;
};

struct WavSpec {
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 22050;
    uint16_t bits = 16;
};

// A RIFF WAVE file with a "fmt " chunk of 16 bytes and a "data" chunk of the bytes.
std::string WavBytes(const WavSpec& spec, const std::string& data);
std::string SampleBytes16(const Samples& samples);
void WriteFile(const std::string& path, const std::string& bytes);
void Put16(std::string& out, uint16_t value);
void Put32(std::string& out, uint32_t value);

// Interleaved 16-bit samples: frame i of channel c is generator(i, c).
Samples MakeSamples(int frames, int channels, const std::function<int16_t(int, int)>& generator);

// Ogg Vorbis of the interleaved samples (in -1..1); empty when the encoder refuses the format.
std::string EncodeOgg(const std::vector<float>& interleaved, int channels, int rate);
std::vector<float> ToneFloats(int frames, int channels, int rate, double hertz);
// The whole file decoded by vorbisfile itself, as 16-bit little-endian signed samples.
Samples DecodeOgg(const std::string& bytes);

}  // namespace audio_test
