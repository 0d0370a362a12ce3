#pragma once
// A fuzz target is one file in fuzz/targets, named after the target, holding
//
//     VORNS_FUZZ_TARGET(data, size) { ...feed the bytes to one parser...; return 0; }
//
// Built by `make fuzz` the body is libFuzzer's entry point. In the ordinary test build
// the body is registered under the file's name, and the replay test runs it on every
// file of fuzz/corpus/<name> and fuzz/regressions/<name>.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace fuzz {

using Entry = int (*)(const uint8_t* data, size_t size);

// Targets by name; registered before main runs.
bool RegisterTarget(const char* name, Entry entry);
const std::map<std::string, Entry>& Targets();

}  // namespace fuzz

#ifdef VORNS_FUZZ_LIBFUZZER
#define VORNS_FUZZ_TARGET(data, size) extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#else
#define VORNS_FUZZ_TARGET(data, size)                                                                           \
    static int FuzzEntry(const uint8_t* data, size_t size);                                                     \
    [[maybe_unused]] static const bool kFuzzEntryRegistered = fuzz::RegisterTarget(VORNS_FUZZ_NAME, FuzzEntry); \
    static int FuzzEntry(const uint8_t* data, size_t size)
#endif
