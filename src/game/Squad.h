#pragma once
// A squad: units that enter a battle together, with their positions relative to the
// squad's centre. The squad does not own its units: they come from the arena's unit pool.
#include <cstdint>

#include "core/Array.h"

class Stream;
class String;
class Vorn;

class Squad {
public:
    // Units a squad file may hold; more would come only from a damaged or hostile file.
    static constexpr int32_t kMaxMembers = 256;

    void Add(Vorn* unit);
    // Forgets the members without returning them to the pool (they live elsewhere).
    void Clear();
    int32_t Count() const { return members.Count(); }

    // The squad file body: the member list for the trays, then each unit's own text.
    Stream& Write(Stream& stream) const;
    // A safe save of the squad file of that name; false for an unsafe name or a write
    // that did not reach the disk.
    bool Save(const String& name) const;

    int32_t totalCost = 0;
    Array<Vorn*> members;
    int32_t loadBudget = -1;
};
