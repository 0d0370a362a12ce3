#pragma once
// Outcome of a sound-device call. The audio code turns every result other than Ok (and
// BufferLost where it tolerates a lost buffer) into its own error, naming the code and
// its text.
#include <cstdint>

namespace snd {

enum class Result : int32_t {
    Ok = 0,
    InvalidParam = 1,  // an argument out of its range (format, size, offset, frequency)
    Unsupported = 2,   // the buffer was made without the control the call needs
    InvalidCall = 3,   // the call does not fit the buffer's state (locked twice, stray unlock)
    OutOfMemory = 4,
    BufferLost = 5,  // the device took the buffer's memory; Restore, then refill it
    NoDevice = 6,    // no audio device could be opened, not even a silent one
};

const char* ResultText(Result result);

inline bool Succeeded(Result result) { return result == Result::Ok; }

}  // namespace snd
