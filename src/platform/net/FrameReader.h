#pragma once
// Turns a received byte stream into frames: a little-endian u32 payload length, then that
// many payload bytes. A length above kMaxFrameBytes is refused before anything is
// allocated for it, so a peer cannot choose the size of our buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sock {

enum class FrameStatus {
    Frame,       // one whole payload was taken
    Incomplete,  // more bytes are needed
    TooLarge,    // the announced length is over the limit: the stream is unusable
};

class FrameReader {
public:
    // A free area of at least `count` bytes at the end of the held bytes, for a receive
    // to fill; Commit then adds the bytes that arrived.
    uint8_t* Reserve(size_t count);
    void Commit(size_t count);
    void Append(const uint8_t* data, size_t count);

    // Takes the oldest whole frame's payload into `payload` (replacing its contents).
    FrameStatus Next(std::vector<uint8_t>& payload);

    size_t Held() const { return buffer_.size() - start_; }
    // Forgets the held bytes; a buffer grown large for one frame is given back.
    void Clear();
    size_t Capacity() const { return buffer_.capacity(); }

private:
    void Compact();

    std::vector<uint8_t> buffer_;
    size_t start_ = 0;  // bytes already taken from the front
    size_t filled_ = 0;
};

// Writes the 4-byte frame header for a payload of `length` bytes.
void PutFrameLength(uint8_t* header, uint32_t length);
uint32_t GetFrameLength(const uint8_t* header);

}  // namespace sock
