// A scene script read from whatever text the fuzzer makes up.
#include <string>

#include "harness/FuzzTarget.h"
#include "scenes/SceneScript.h"

VORNS_FUZZ_TARGET(data, size) {
    SceneScript script;
    script.Parse(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
