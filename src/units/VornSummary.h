#pragma once
// What the trays and the placement need of a unit file without loading the unit.
#include <cstdint>

#include "core/String.h"

class VornSummary {
public:
    // Reads the summary of the named unit file; false when it cannot be read. Unit files
    // are read by the unit code, so until it reads them no summary loads.
    bool Load(const String& name);

    int32_t id = 0;
    int32_t chassis = -1;
    int32_t cost = 0;
    int32_t weaponKinds[2] = {0, 0};
    String weaponAmmo[2];
    String fileName;
};
