#include "net/MessageReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

const uint8_t* MessageReader::Take(size_t count) {
    if (failed_ || count > length_ - position_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t* bytes = data_ + position_;
    position_ += count;
    return bytes;
}

uint8_t MessageReader::ReadU8() {
    const uint8_t* bytes = Take(1);
    return bytes ? bytes[0] : 0;
}

uint16_t MessageReader::ReadU16() {
    const uint8_t* bytes = Take(2);
    return bytes ? static_cast<uint16_t>(bytes[0] | bytes[1] << 8) : 0;
}

uint32_t MessageReader::ReadU32() {
    const uint8_t* bytes = Take(4);
    if (!bytes) return 0;
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

float MessageReader::ReadF32() {
    const uint32_t bits = ReadU32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) return value;
    failed_ = true;
    return 0.0f;
}

Vector3 MessageReader::ReadVector() {
    const float x = ReadF32();
    const float y = ReadF32();
    const float z = ReadF32();
    return failed_ ? Vector3() : Vector3(x, y, z);
}

sock::Ipv4Address MessageReader::ReadAddress() {
    const uint8_t* bytes = Take(4);
    sock::Ipv4Address address;
    if (bytes) std::memcpy(&address.ip, bytes, 4);
    address.port = ReadU16();
    return failed_ ? sock::Ipv4Address{} : address;
}

std::string MessageReader::ReadText(size_t maxBytes) {
    const uint32_t length = ReadU32();
    const uint8_t* bytes = Take(length);
    if (!bytes) return {};
    return std::string(reinterpret_cast<const char*>(bytes), std::min<size_t>(length, maxBytes));
}

std::string MessageReader::ReadRest() {
    const uint8_t* bytes = Take(Remaining());
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), length_ - (bytes - data_)) : std::string();
}

bool MessageReader::CanHold(uint64_t count, size_t minRecordBytes) {
    if (!failed_ && (minRecordBytes == 0 || count <= Remaining() / minRecordBytes)) return true;
    failed_ = true;
    return false;
}
