#pragma once
// Appends the fields of the session's messages in their wire form, the counterpart of
// MessageReader: little-endian, no padding, texts as a u32 length and their bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Vector3.h"
#include "platform/net/Ipv4Address.h"

class MessageWriter {
public:
    void PutU8(uint8_t value) { bytes_.push_back(value); }
    void PutU16(uint16_t value);
    void PutU32(uint32_t value);
    void PutF32(float value);
    void PutVector(const Vector3& value);
    void PutAddress(const sock::Ipv4Address& address);
    void PutText(const std::string& text);
    void PutBytes(const void* data, size_t length);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }
    bool Empty() const { return bytes_.empty(); }
    void Clear() { bytes_.clear(); }

private:
    std::vector<uint8_t> bytes_;
};
