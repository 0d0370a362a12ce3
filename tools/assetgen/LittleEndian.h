#pragma once
// Numbers appended to binary files low byte first, as the sound, model and picture files
// the game reads store them.
#include <cstdint>
#include <string>

namespace assetgen {

inline void Put16(std::string& out, uint16_t value) {
    out += char(value & 0xFF);
    out += char(value >> 8);
}

inline void Put32(std::string& out, uint32_t value) {
    Put16(out, uint16_t(value & 0xFFFF));
    Put16(out, uint16_t(value >> 16));
}

}  // namespace assetgen
