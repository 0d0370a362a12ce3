#include "platform/gfx/Result.h"

namespace gfx {

const char* ResultText(Result result) {
    switch (result) {
        case Result::Ok: return "no error";
        case Result::InvalidCall: return "invalid call";
        case Result::InvalidParam: return "invalid parameter";
        case Result::OutOfMemory: return "out of memory";
        case Result::NotAvailable: return "not available";
        case Result::DeviceLost: return "device lost";
        case Result::DeviceNotReset: return "device not reset";
        case Result::NotFound: return "file not found";
        case Result::BadFile: return "unreadable picture file";
    }
    return "unknown error";
}

}  // namespace gfx
