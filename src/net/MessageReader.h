#pragma once
// Reads the fields of the session's messages from one frame's payload: little-endian
// integers and floats, addresses, length-prefixed texts and vectors. Every read is
// bounded by the bytes left; the first failure sets a sticky error flag, after which
// reads return zeros and the caller drops the rest of the frame.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Vector3.h"
#include "platform/net/Ipv4Address.h"

class MessageReader {
public:
    MessageReader(const uint8_t* data, size_t length) : data_(data), length_(length) {}

    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    // A value that is not finite is an error: positions, times and sizes must be numbers.
    float ReadF32();
    Vector3 ReadVector();
    sock::Ipv4Address ReadAddress();
    // A u32 length and that many bytes. Bytes past maxBytes are read and dropped; a
    // length beyond the bytes left is an error.
    std::string ReadText(size_t maxBytes);
    // Everything left, as text (the stream payloads that end a frame).
    std::string ReadRest();

    // True when `count` records of at least `minRecordBytes` each can still be in the
    // frame; otherwise sets the error. Ask before any loop or allocation sized by a count.
    bool CanHold(uint64_t count, size_t minRecordBytes);
    // Marks the frame as bad (a handler found a value it cannot accept).
    void Fail() { failed_ = true; }

    bool Failed() const { return failed_; }
    bool AtEnd() const { return failed_ || position_ == length_; }
    size_t Remaining() const { return failed_ ? 0 : length_ - position_; }

private:
    // The next `count` bytes, or null (and the error set) when fewer are left.
    const uint8_t* Take(size_t count);

    const uint8_t* data_;
    size_t length_;
    size_t position_ = 0;
    bool failed_ = false;
};
