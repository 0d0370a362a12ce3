// RIFF WAVE files: opened, sized, read whole, rewound and read again.
#include <vector>

#include "audio/WavFile.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.wav", data, size)) {
        return 0;
    }
    WavFile file(String((fuzz::ScratchFolder() + "Fuzz.wav").c_str()));
    if (!file.Open()) {
        return 0;
    }
    const uint32_t declared = file.GetSize();
    std::vector<uint8_t> buffer(4096);
    uint64_t total = 0;
    while (uint32_t got = file.Read(buffer.data(), uint32_t(buffer.size()))) {
        total += got;
    }
    // The size is what Read hands out.
    if (total != declared) {
        __builtin_trap();
    }
    if (file.Reset()) {
        file.Read(buffer.data(), uint32_t(buffer.size()));
    }
    return 0;
}
