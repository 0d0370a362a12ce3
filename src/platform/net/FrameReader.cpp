#include "platform/net/FrameReader.h"

#include <cstring>

#include "platform/net/NetLimits.h"

namespace sock {

void PutFrameLength(uint8_t* header, uint32_t length) {
    header[0] = static_cast<uint8_t>(length);
    header[1] = static_cast<uint8_t>(length >> 8);
    header[2] = static_cast<uint8_t>(length >> 16);
    header[3] = static_cast<uint8_t>(length >> 24);
}

uint32_t GetFrameLength(const uint8_t* header) {
    return static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8 |
           static_cast<uint32_t>(header[2]) << 16 | static_cast<uint32_t>(header[3]) << 24;
}

uint8_t* FrameReader::Reserve(size_t count) {
    Compact();
    buffer_.resize(filled_ + count);
    return buffer_.data() + filled_;
}

void FrameReader::Commit(size_t count) {
    filled_ += count;
    buffer_.resize(filled_);
}

void FrameReader::Append(const uint8_t* data, size_t count) {
    if (count == 0) return;
    std::memcpy(Reserve(count), data, count);
    Commit(count);
}

FrameStatus FrameReader::Next(std::vector<uint8_t>& payload) {
    if (Held() < 4) return FrameStatus::Incomplete;
    const size_t length = GetFrameLength(buffer_.data() + start_);
    if (length > kMaxFrameBytes) return FrameStatus::TooLarge;
    if (Held() - 4 < length) return FrameStatus::Incomplete;
    const uint8_t* first = buffer_.data() + start_ + 4;
    payload.assign(first, first + length);
    start_ += 4 + length;
    if (start_ == filled_) Clear();
    return FrameStatus::Frame;
}

void FrameReader::Clear() {
    if (buffer_.capacity() > kKeptBufferBytes)
        std::vector<uint8_t>().swap(buffer_);
    else
        buffer_.clear();
    start_ = 0;
    filled_ = 0;
}

// Moves the held bytes to the front once the taken part outweighs them, so the buffer
// stays about the size of one frame plus one read.
void FrameReader::Compact() {
    if (start_ == 0 || start_ < Held()) return;
    std::memmove(buffer_.data(), buffer_.data() + start_, Held());
    filled_ -= start_;
    start_ = 0;
    buffer_.resize(filled_);
    if (buffer_.capacity() > kKeptBufferBytes && filled_ < kKeptBufferBytes / 2) buffer_.shrink_to_fit();
}

}  // namespace sock
