#pragma once
// What the squad trays show of a squad file without making any unit: the members'
// names, positions, chassis kinds and costs.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector2.h"

class Stream;

struct SquadEntry {
    String name;
    Vector2 position;
    int32_t chassisType = -1;
    int32_t cost = 0;
};

class SquadSummary {
public:
    // Reads the header of the squad file of that name; false when it cannot be opened.
    bool Load(const String& name);
    // Reads the member count and member list of a squad file body; at most the squad's
    // member limit, stopping at the first unreadable entry. Returns the count the file
    // gave (within 0 and the limit).
    int32_t Read(Stream& stream);
    void AddEntry(const String& entryName, const Vector2& position, int32_t chassisType, int32_t cost);
    int32_t TotalCost() const;
    int32_t MinMemberCost() const;

    String fileName;
    Array<SquadEntry> entries;
};
