#include "support/AudioTestUtil.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <vorbis/vorbisenc.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace audio_test {

LogCapture::LogCapture() : output_(Debugger::Instance().DebuggerOutput()) {
    Debugger::Instance().SetDebuggerOutput(false);
    Debugger::Instance().SetCallback([this](const char* text) { text_ += text; });
}

LogCapture::~LogCapture() {
    Debugger::Instance().SetCallback(nullptr);
    Debugger::Instance().SetDebuggerOutput(output_);
}

void Put16(std::string& out, uint16_t value) {
    out += char(value & 0xFF);
    out += char(value >> 8);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, uint16_t(value & 0xFFFF));
    Put16(out, uint16_t(value >> 16));
}

std::string WavBytes(const WavSpec& spec, const std::string& data) {
    const uint16_t block = uint16_t(spec.channels * spec.bits / 8);
    std::string out = "RIFF";
    Put32(out, uint32_t(4 + 8 + 16 + 8 + data.size()));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, spec.tag);
    Put16(out, spec.channels);
    Put32(out, spec.rate);
    Put32(out, spec.rate * block);
    Put16(out, block);
    Put16(out, spec.bits);
    out += "data";
    Put32(out, uint32_t(data.size()));
    return out + data;
}

std::string SampleBytes16(const Samples& samples) {
    std::string out;
    for (int16_t s : samples) Put16(out, uint16_t(s));
    return out;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Samples MakeSamples(int frames, int channels, const std::function<int16_t(int, int)>& generator) {
    Samples out;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) out.push_back(generator(i, c));
    }
    return out;
}

std::vector<float> ToneFloats(int frames, int channels, int rate, double hertz) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * M_PI * hertz * (i + 0.5) / rate);
        for (int c = 0; c < channels; ++c) out.push_back(float((c == 0 ? 0.5 : -0.3) * s));
    }
    return out;
}

namespace {

void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::string& out) {
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0) {
                out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
                out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
            }
        }
    }
}

}  // namespace

std::string EncodeOgg(const std::vector<float>& interleaved, int channels, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 20240);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    std::string out;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
    }

    const int frames = int(interleaved.size()) / channels;
    for (int done = 0; done < frames;) {
        const int n = std::min(1024, frames - done);
        float** planes = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c) planes[c][i] = interleaved[size_t((done + i) * channels + c)];
        }
        vorbis_analysis_wrote(&dsp, n);
        Drain(dsp, block, stream, out);
        done += n;
    }
    vorbis_analysis_wrote(&dsp, 0);
    Drain(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page) != 0) {
        out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

namespace {

struct MemorySource {
    const std::string* bytes;
    size_t position = 0;
};

size_t MemoryRead(void* buffer, size_t size, size_t count, void* source) {
    auto* memory = static_cast<MemorySource*>(source);
    const size_t n = std::min(size * count, memory->bytes->size() - memory->position);
    std::memcpy(buffer, memory->bytes->data() + memory->position, n);
    memory->position += n;
    return size == 0 ? 0 : n / size;
}

}  // namespace

Samples DecodeOgg(const std::string& bytes) {
    MemorySource source{&bytes};
    OggVorbis_File file;
    const ov_callbacks callbacks{MemoryRead, nullptr, nullptr, nullptr};
    Samples out;
    if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) return out;
    char chunk[4096];
    int link = 0;
    long got = 0;
    while ((got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &link)) != 0) {
        if (got < 0) continue;
        for (long i = 0; i + 1 < got; i += 2) {
            out.push_back(int16_t(uint16_t(uint8_t(chunk[i]) | (uint8_t(chunk[i + 1]) << 8))));
        }
    }
    ov_clear(&file);
    return out;
}

}  // namespace audio_test
