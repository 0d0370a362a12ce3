// What the trays and launchers read of a unit file without loading the unit.
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "units/VornSummary.h"

VORNS_FUZZ_TARGET(data, size) {
    fuzz::World();
    if (fuzz::WriteScratchFile("Summary.VRN", data, size)) {
        VornSummary summary;
        summary.Load("Summary");
    }
    return 0;
}
