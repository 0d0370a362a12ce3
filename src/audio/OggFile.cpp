#include "audio/OggFile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/sound/SoundBuffer.h"

namespace {

// The step in which the size is counted, as the streams decode: one half of their ring.
constexpr uint32_t kCountStep = 20480;
// ov_read: little-endian, 16-bit words, signed.
constexpr int kLittleEndian = 0;
constexpr int kWordBytes = 2;
constexpr int kSigned = 1;

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0) return 0;
    const size_t wanted = size * count;
    const uint32_t step = uint32_t(std::min<size_t>(wanted, UINT32_MAX));
    return static_cast<SoundFileInput*>(source)->Read(buffer, step) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    auto* input = static_cast<SoundFileInput*>(source);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = input->Position();
    else if (whence == SEEK_END)
        base = input->Size();
    else if (whence != SEEK_SET)
        return -1;
    return input->Seek(base + offset) ? 0 : -1;
}

long TellCallback(void* source) { return long(static_cast<SoundFileInput*>(source)->Position()); }

}  // namespace

OggFile::OggFile(const String& name) : SoundFile(name) {}

OggFile::~OggFile() { Close(); }

bool OggFile::Open() {
    Close();
    if (name_.IsEmpty()) {
        Refuse("OggFile::Open() - No filename");
        return false;
    }
    if (!input_.Open(name_)) {
        Refuse("OggFile::Open() - File does not exist: " + name_);
        return false;
    }
    // The file is closed here, not by the decoder.
    const ov_callbacks callbacks{ReadCallback, SeekCallback, nullptr, TellCallback};
    if (ov_open_callbacks(&input_, &vorbis_, nullptr, 0, callbacks) != 0) {
        input_.Close();
        Refuse("OggFile::Open() - Not a .ogg file");
        return false;
    }
    open_ = true;
    failed_ = false;
    const vorbis_info* info = ov_info(&vorbis_, -1);
    const snd::PcmFormat format{uint16_t(info != nullptr ? info->channels : 0),
                                uint32_t(info != nullptr ? info->rate : 0), 16};
    if (info == nullptr || info->channels > 2 || !snd::IsValidFormat(format)) {
        Refuse("OggFile::Open() - unsupported stream: " + String::FromInt(info != nullptr ? info->channels : 0) +
               " channels, " + String::FromInt(info != nullptr ? int(info->rate) : 0) + " Hz");
        Close();
        return false;
    }
    format_ = format;
    return true;
}

uint32_t OggFile::Read(uint8_t* buffer, uint32_t bytes) {
    if (buffer == nullptr || !open_ || failed_ || !format_) return 0;
    // The decoder hands out whole frames only, and refuses a request smaller than one.
    const uint32_t frameBytes = format_->BlockAlign();
    const uint32_t wanted = std::min<uint32_t>(bytes, INT32_MAX) / frameBytes * frameBytes;
    uint32_t stored = 0;
    while (stored < wanted) {
        int link = 0;
        const uint32_t want = wanted - stored;
        const long got = ov_read(&vorbis_, reinterpret_cast<char*>(buffer + stored), int(want), kLittleEndian,
                                 kWordBytes, kSigned, &link);
        if (got == 0) break;
        // A hole is a gap in the pages: the decoder has resynchronised and goes on.
        if (got == OV_HOLE) continue;
        if (got < 0 || !ProducesOpenedFormat()) {
            failed_ = true;
            break;
        }
        stored += uint32_t(got);
    }
    return stored;
}

bool OggFile::ProducesOpenedFormat() {
    // A chained file may change its channels or rate at a new link; its samples would
    // play as noise in a buffer made for the first link, so the data ends there.
    const vorbis_info* info = ov_info(&vorbis_, -1);
    return info != nullptr && format_ && info->channels == format_->channels && info->rate == long(format_->rate);
}

bool OggFile::Reset() {
    if (!open_) return false;
    failed_ = false;
    if (ov_time_seek(&vorbis_, 0.0) == 0) return true;
    // A damaged file can decode and still not seek (one whose pages claim no length):
    // opened again, it starts at its first sample, so the size counted by decoding is
    // what Read hands out.
    return Open();
}

uint32_t OggFile::GetSize() {
    if (!Reset()) return 0;
    std::vector<uint8_t> scratch(kCountStep);
    uint64_t total = 0;
    // Past the largest buffer the count no longer matters: the sound is refused anyway.
    while (total <= snd::kMaxBufferBytes) {
        const uint32_t got = Read(scratch.data(), kCountStep);
        if (got == 0) break;
        total += got;
    }
    Reset();
    return uint32_t(std::min<uint64_t>(total, UINT32_MAX));
}

void OggFile::Close() {
    if (open_) ov_clear(&vorbis_);
    open_ = false;
    input_.Close();
}
