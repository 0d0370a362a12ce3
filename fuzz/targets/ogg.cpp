// Ogg Vorbis files: opened, sized by decoding, read whole and rewound.
#include <vector>

#include "audio/OggFile.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.ogg", data, size)) {
        return 0;
    }
    OggFile file(String((fuzz::ScratchFolder() + "Fuzz.ogg").c_str()));
    if (!file.Open()) {
        return 0;
    }
    const uint32_t counted = file.GetSize();
    std::vector<uint8_t> buffer(8192);
    uint64_t total = 0;
    while (uint32_t got = file.Read(buffer.data(), uint32_t(buffer.size()))) {
        total += got;
    }
    // A size that disagrees with what Read hands out pads a sound with silence or cuts it.
    if (total != counted) {
        __builtin_trap();
    }
    file.Reset();
    return 0;
}
