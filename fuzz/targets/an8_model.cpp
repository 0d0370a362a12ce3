// An ".an8" model file: scanned, parsed and built into meshes, figures and tracks, with
// the meshes welded, smoothed and simplified as every load does.
#include "engine/ActorSet.h"
#include "engine/An8Model.h"
#include "engine/Renderer.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.an8", data, size)) {
        return 0;
    }
    ActorSet set(String((fuzz::ScratchFolder() + "Fuzz.an8").c_str()));
    LoadAn8Model(set, 1.0f, ModelLoadSettings());
    // The renderer keeps what a load makes until it is told to let go.
    GetRenderer().ReleaseAll();
    return 0;
}
