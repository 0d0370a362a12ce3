// A scenario text from a peer, and a scenario file.
#include "core/String.h"
#include "core/StringStream.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "world/Arena.h"

VORNS_FUZZ_TARGET(data, size) {
    Arena& arena = fuzz::World();
    arena.ClearBattlefield(false);
    StringStream text(fuzz::Text(data, size).c_str());
    String section;
    arena.ReadScenario(text, "fuzz", section);
    arena.ClearBattlefield(false);
    if (fuzz::WriteScratchFile("Fuzz.SCN", data, size)) {
        arena.LoadScenario("Fuzz");
    }
    arena.ClearBattlefield(false);
    arena.FlushObjectPools();
    return 0;
}
