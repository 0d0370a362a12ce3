#include "AudioEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

#include "LittleEndian.h"

namespace assetgen {
namespace {

constexpr int kSerial = 0x566F726E;
constexpr int kChunkFrames = 4096;

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush) {
    ogg_page page;
    while ((flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) != 0) {
        out.append(reinterpret_cast<const char*>(page.header), std::size_t(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), std::size_t(page.body_len));
    }
}

void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::string& out) {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
            ogg_stream_packetin(&stream, &packet);
            AppendPages(stream, out, false);
        }
    }
}

}  // namespace

std::string EncodeOgg(const std::vector<float>& samples, int channels, int rate, float quality) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("the Vorbis encoder refused the format");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    std::string out;
    ogg_packet header, commentPacket, codebook;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebook);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebook);
    AppendPages(stream, out, true);

    const std::size_t frames = samples.size() / std::size_t(channels);
    for (std::size_t start = 0; start < frames; start += kChunkFrames) {
        const int count = int(std::min<std::size_t>(kChunkFrames, frames - start));
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(start + i) * channels + c];
        vorbis_analysis_wrote(&dsp, count);
        Drain(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    Drain(dsp, block, stream, out);
    AppendPages(stream, out, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::string EncodeWav(const std::vector<float>& samples, int channels, int rate) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, uint16_t(channels));
    Put32(out, uint32_t(rate));
    Put32(out, uint32_t(rate * channels * 2));
    Put16(out, uint16_t(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (float s : samples) Put16(out, uint16_t(int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))));
    return out;
}

}  // namespace assetgen
