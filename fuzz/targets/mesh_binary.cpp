// The binary mesh record of the model cache.
#include "core/FileStream.h"
#include "engine/Mesh.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.sbm", data, size)) {
        return 0;
    }
    FileStream file(fuzz::ScratchFolder() + "Fuzz.sbm", "rb");
    Mesh mesh;
    mesh.ReadBinary(file);
    return 0;
}
