#include "net/MessageWriter.h"

#include <cstring>

void MessageWriter::PutU16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
}

void MessageWriter::PutU32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(value >> shift));
}

void MessageWriter::PutF32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(bits);
}

void MessageWriter::PutVector(const Vector3& value) {
    PutF32(value.x);
    PutF32(value.y);
    PutF32(value.z);
}

void MessageWriter::PutAddress(const sock::Ipv4Address& address) {
    PutBytes(&address.ip, 4);
    PutU16(address.port);
}

void MessageWriter::PutText(const std::string& text) {
    PutU32(static_cast<uint32_t>(text.size()));
    PutBytes(text.data(), text.size());
}

void MessageWriter::PutBytes(const void* data, size_t length) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + length);
}
