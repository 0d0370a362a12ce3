// Decodes an Ogg Vorbis file to a 16-bit PCM WAVE file beside it: oggdec -b 2 <file>.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "SpeechWave.h"

namespace {

// Half an hour of stereo at 48 kHz: a bound on what one speech line may decode to.
constexpr size_t kMaxSamples = 48000u * 2u * 1800u;

int Usage() {
    std::fprintf(stderr, "usage: oggdec -b 2 <file.ogg>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string input;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-b") == 0 && i + 1 < argc) {
            if (std::strcmp(argv[++i], "2") != 0) {
                return Usage();
            }
        } else {
            input = argv[i];
        }
    }
    const std::string output = speech::ReplaceExtension(input, "wav");
    if (input.empty() || output.empty()) {
        return Usage();
    }
    OggVorbis_File file;
    if (ov_fopen(input.c_str(), &file) != 0) {
        std::fprintf(stderr, "oggdec: cannot read %s\n", input.c_str());
        return 1;
    }
    const vorbis_info* info = ov_info(&file, -1);
    const int32_t channels = info ? info->channels : 0;
    const int32_t rate = info ? static_cast<int32_t>(info->rate) : 0;
    std::vector<int16_t> samples;
    char buffer[8192];
    int section = 0;
    for (;;) {
        const long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got <= 0 || samples.size() > kMaxSamples) {
            break;
        }
        const size_t start = samples.size();
        samples.resize(start + static_cast<size_t>(got) / 2);
        std::memcpy(samples.data() + start, buffer, static_cast<size_t>(got) / 2 * 2);
    }
    ov_clear(&file);
    if (channels < 1 || rate < 1 || !speech::WriteWave(output, rate, channels, samples)) {
        std::fprintf(stderr, "oggdec: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
