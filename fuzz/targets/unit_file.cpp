// A unit's text, as a peer sends it and as a unit file on disk (where a "Filename" in it
// is refused, and the file may name the scratch folder's other files).
#include "core/StringStream.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "units/Vorn.h"
#include "world/Arena.h"

VORNS_FUZZ_TARGET(data, size) {
    Arena& arena = fuzz::World();
    Vorn* unit = arena.NewVorn(0);
    StringStream text(fuzz::Text(data, size).c_str());
    unit->Load(text);
    arena.FreeObject(unit);
    if (fuzz::WriteScratchFile("Fuzz.VRN", data, size)) {
        unit = arena.NewVorn(0);
        unit->LoadFile("Fuzz");
        unit->PrepareForBattle();
        arena.FreeObject(unit);
    }
    arena.FlushObjectPools();
    return 0;
}
