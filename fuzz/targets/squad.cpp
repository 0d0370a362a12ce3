// A squad file placed on the battlefield.
#include "core/Vector3.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "world/Arena.h"

VORNS_FUZZ_TARGET(data, size) {
    Arena& arena = fuzz::World();
    if (fuzz::WriteScratchFile("Fuzz.SQD", data, size)) {
        arena.LoadSquadFile("Fuzz", Vector3(80.0f, 80.0f, 0.0f), nullptr);
    }
    arena.ClearBattlefield(false);
    arena.FlushObjectPools();
    return 0;
}
