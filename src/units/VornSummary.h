#pragma once
// What the trays, the launchers and the placement need of a unit file without loading
// the unit: its chassis, cost and weapons.
#include <cstdint>

#include "core/String.h"

class Stream;

class VornSummary {
public:
    // Reads the summary of the named unit file in the current player's unit folder.
    // False when the name is not safe as a file name, the file cannot be opened, is
    // damaged or cut short before the summary was complete, or names no chassis; the
    // reason goes to the debug log.
    bool Load(const String& name);

    int32_t id = -1;  // not filled by the reader
    int32_t chassis = -1;
    int32_t cost = 0;
    int32_t weaponKinds[2] = {0, 0};
    int32_t weaponLocations[2] = {0, 0};
    String weaponAmmo[2];  // the launchers' "AmmoName"; empty when the record names none
    String fileName;

private:
    // Reads keys until "End", the end of the input, or everything the summary holds;
    // false when a value did not read.
    bool Scan(Stream& stream);
};
