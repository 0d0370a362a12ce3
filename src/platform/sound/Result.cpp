#include "platform/sound/Result.h"

namespace snd {

const char* ResultText(Result result) {
    switch (result) {
        case Result::Ok: return "ok";
        case Result::InvalidParam: return "invalid parameter";
        case Result::Unsupported: return "control not available on this buffer";
        case Result::InvalidCall: return "call not valid in the buffer's state";
        case Result::OutOfMemory: return "out of memory";
        case Result::BufferLost: return "buffer lost";
        case Result::NoDevice: return "no audio device";
    }
    return "unknown sound result";
}

}  // namespace snd
