// Path resolution and the safe-name check on names from files and peers.
#include <string>
#include <string_view>

#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "platform/sys/Paths.h"

namespace {

bool HasPathCharacter(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

VORNS_FUZZ_TARGET(data, size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    // A name that passes can never lead out of the folder it is joined to.
    if (sys::IsSafeName(name) && (name.empty() || name.size() > 64 || name.front() == '.' || HasPathCharacter(name))) {
        __builtin_trap();
    }
    const std::string normalized = sys::NormalizeSeparators(name);
    if (normalized.find('\\') != std::string::npos || normalized.find("//") != std::string::npos) {
        __builtin_trap();
    }
    const std::string inside = fuzz::ScratchFolder() + std::string(name);
    sys::ResolvePath(inside);
    sys::FullPath(inside);
    return 0;
}
