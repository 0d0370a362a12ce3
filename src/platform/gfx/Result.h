#pragma once
// Outcome of a graphics-device call. The renderer turns every result other than Ok into
// its own error (except where it expects DeviceLost), naming the code and its text.
#include <cstdint>

namespace gfx {

enum class Result : int32_t {
    Ok = 0,
    InvalidCall = 1,   // the call does not fit the device's or the object's state
    InvalidParam = 2,  // an argument or state value out of its range
    OutOfMemory = 3,
    NotAvailable = 4,    // the device cannot do what was asked (size, multisampling)
    DeviceLost = 5,      // the device is lost and cannot be reset yet
    DeviceNotReset = 6,  // the device is lost and can be reset now
    NotFound = 7,        // a file that does not exist
    BadFile = 8,         // a file that exists but cannot be read as a picture
};

const char* ResultText(Result result);

inline bool Succeeded(Result result) { return result == Result::Ok; }

}  // namespace gfx
