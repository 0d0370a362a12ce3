#include "audio/WavFile.h"

#include <algorithm>
#include <cstring>

namespace {

// The RIFF header: "RIFF", the length of what follows, then the form type "WAVE".
constexpr int64_t kRiffHeaderBytes = 12;
constexpr int64_t kChunkHeaderBytes = 8;
// The fields of a PCM format chunk: tag, channels, rate, bytes a second, block align, bits.
constexpr uint32_t kPcmFormatBytes = 16;
constexpr uint16_t kFormatPcm = 1;

uint16_t Little16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

WavFile::WavFile(const String& name) : SoundFile(name) {}

WavFile::~WavFile() { Close(); }

bool WavFile::Open() {
    Close();
    if (name_.IsEmpty()) {
        Refuse("WavFile::Open() - No filename");
        return false;
    }
    if (!input_.Open(name_)) {
        Refuse("WavFile::Open() - File does not exist");
        return false;
    }
    if (!ReadHeader()) {
        Close();
        return false;
    }
    if (!Reset()) {
        Refuse("WavFile::Reset() - no \"data\" chunk");
        Close();
        return false;
    }
    size_ = dataLeft_;
    if (size_ == 0) {
        Refuse("WavFile::Open() - No size");
        Close();
        return false;
    }
    return true;
}

bool WavFile::ReadHeader() {
    uint8_t header[kRiffHeaderBytes];
    if (input_.Read(header, sizeof header) != sizeof header) {
        Refuse("WavFile::ReadHeader() - read(): the file ends inside the RIFF header");
        return false;
    }
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
        Refuse("WavFile::ReadHeader() - not a RIFF WAVE file");
        return false;
    }
    riffEnd_ = std::min<int64_t>(8 + int64_t(Little32(header + 4)), input_.Size());
    const int64_t formatBytes = FindChunk("fmt ");
    if (formatBytes < 0) {
        Refuse("WavFile::ReadHeader() - no \"fmt \" chunk");
        return false;
    }
    return ReadFormat(uint32_t(formatBytes));
}

bool WavFile::ReadFormat(uint32_t chunkBytes) {
    if (chunkBytes < kPcmFormatBytes) {
        Refuse("WavFile::ReadFormat() - the format chunk is shorter than 16 bytes");
        return false;
    }
    uint8_t fields[kPcmFormatBytes];
    if (input_.Read(fields, sizeof fields) != sizeof fields) {
        Refuse("WavFile::ReadFormat() - read(): the file ends inside the format chunk");
        return false;
    }
    const uint16_t tag = Little16(fields);
    if (tag != kFormatPcm) {
        Refuse("WavFile::ReadFormat() - unsupported format tag " + String::FromInt(tag));
        return false;
    }
    const snd::PcmFormat format{Little16(fields + 2), Little32(fields + 4), Little16(fields + 14)};
    const uint16_t blockAlign = Little16(fields + 12);
    if (!snd::IsValidFormat(format) || blockAlign != format.BlockAlign()) {
        Refuse("WavFile::ReadFormat() - unsupported PCM format: " + String::FromInt(format.channels) + " channels, " +
               String::FromInt(int(format.rate)) + " Hz, " + String::FromInt(format.bits) + " bits, block " +
               String::FromInt(blockAlign));
        return false;
    }
    format_ = format;
    return true;
}

int64_t WavFile::FindChunk(const char id[4]) {
    // Every step moves on by at least a chunk header, so a damaged file ends the search.
    while (input_.Position() + kChunkHeaderBytes <= riffEnd_) {
        uint8_t header[kChunkHeaderBytes];
        if (input_.Read(header, sizeof header) != sizeof header) return -1;
        const uint32_t length = Little32(header + 4);
        if (std::memcmp(header, id, 4) == 0) return length;
        // Chunks start on even offsets: an odd length is followed by a pad byte.
        const int64_t next = input_.Position() + int64_t(length) + (length & 1);
        if (next > riffEnd_ || !input_.Seek(next)) return -1;
    }
    return -1;
}

bool WavFile::Reset() {
    if (!input_.IsOpen() || !format_) return false;
    if (!input_.Seek(kRiffHeaderBytes)) return false;
    const int64_t declared = FindChunk("data");
    if (declared < 0) return false;
    // A damaged length must not promise more than the file holds; a trailing part of a
    // frame would shift every later frame of a looping stream.
    const int64_t present = std::min({declared, input_.BytesLeft(), riffEnd_ - input_.Position()});
    const int64_t bytes = std::max<int64_t>(present, 0);
    dataLeft_ = uint32_t(bytes - bytes % format_->BlockAlign());
    return true;
}

uint32_t WavFile::Read(uint8_t* buffer, uint32_t bytes) {
    if (buffer == nullptr || !input_.IsOpen()) return 0;
    const uint32_t wanted = std::min(bytes, dataLeft_);
    const uint32_t got = input_.Read(buffer, wanted);
    dataLeft_ = got < wanted ? 0 : dataLeft_ - got;
    return got;
}

void WavFile::Close() {
    input_.Close();
    dataLeft_ = 0;
    FreeFormat();
}
