// WAVE files for the speech tools.
#include "SpeechWave.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace speech {
namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

uint32_t GetLe(const std::string& in, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
    }
    return value;
}

bool SaveBytes(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.good()) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart || dot + 1 == path.size()) {
        return std::string();
    }
    return path.substr(0, dot + 1) + extension;
}

bool SaveText(const std::string& path, const std::string& text) { return SaveBytes(path, text); }

bool WriteWave(const std::string& path, int32_t rate, int32_t channels, const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<uint32_t>(channels), 2);
    PutLe(out, static_cast<uint32_t>(rate), 4);
    PutLe(out, static_cast<uint32_t>(rate * channels * 2), 4);
    PutLe(out, static_cast<uint32_t>(channels * 2), 2);
    PutLe(out, 16, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    for (int16_t sample : samples) {
        PutLe(out, static_cast<uint16_t>(sample), 2);
    }
    return SaveBytes(path, out);
}

bool ReadWave(const std::string& path, Wave& wave) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return false;
    }
    uint32_t channels = 0;
    uint32_t bits = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const uint32_t length = GetLe(bytes, at + 4, 4);
        const size_t body = at + 8;
        const size_t available = bytes.size() - body;
        if (id == "fmt " && length >= 16 && available >= 16) {
            if (GetLe(bytes, body, 2) != 1) {
                return false;
            }
            channels = GetLe(bytes, body + 2, 2);
            wave.rate = static_cast<int32_t>(GetLe(bytes, body + 4, 4));
            bits = GetLe(bytes, body + 14, 2);
        } else if (id == "data") {
            if (channels < 1 || channels > 8 || (bits != 8 && bits != 16) || wave.rate < 1000 || wave.rate > 384000) {
                return false;
            }
            const size_t frameBytes = channels * bits / 8;
            const size_t frames = std::min<size_t>(length, available) / frameBytes;
            wave.samples.resize(frames);
            for (size_t f = 0; f < frames; ++f) {
                int32_t sum = 0;
                for (uint32_t c = 0; c < channels; ++c) {
                    const size_t offset = body + f * frameBytes + c * bits / 8;
                    sum += bits == 16 ? static_cast<int16_t>(GetLe(bytes, offset, 2))
                                      : (static_cast<int32_t>(static_cast<uint8_t>(bytes[offset])) - 128) * 256;
                }
                wave.samples[f] = static_cast<int16_t>(sum / static_cast<int32_t>(channels));
            }
            return true;
        }
        if (length > available) {
            return false;
        }
        at = body + length + (length & 1);
    }
    return false;
}

}  // namespace speech
