#include "harness/FuzzTarget.h"

namespace fuzz {

namespace {

std::map<std::string, Entry>& Registry() {
    static std::map<std::string, Entry> targets;
    return targets;
}

}  // namespace

bool RegisterTarget(const char* name, Entry entry) {
    Registry()[name] = entry;
    return true;
}

const std::map<std::string, Entry>& Targets() { return Registry(); }

}  // namespace fuzz
