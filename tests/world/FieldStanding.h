#pragma once
// Checks of how the units on a battlefield stand, shared by the arena's and the
// battlefield window's tests.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "core/MemoryBlock.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

// Every unit on the field stands on the ground, none up on another, and apart from every
// other by more than their radii, taken at the images nearest each other.
inline ::testing::AssertionResult FieldStandsApartOnTheGround(const Arena& arena) {
    std::vector<const Vorn*> units;
    for (const WorldObject* object : arena.Objects()) {
        if (object->kind != kKindVorn) continue;
        const auto* unit = static_cast<const Vorn*>(object);
        const float ground = arena.GetGroundHeight(unit->position.x, unit->position.y) + unit->GetRadius();
        if (std::fabs(unit->position.z - ground) > 0.01f || !unit->onGround)
            return ::testing::AssertionFailure() << unit->name.CStr() << " stands " << unit->position.z - ground
                                                 << " above the ground";
        units.push_back(unit);
    }
    for (size_t a = 0; a < units.size(); ++a) {
        for (size_t b = a + 1; b < units.size(); ++b) {
            const Vector3 image = arena.NearestImage(units[a]->position, units[b]->position);
            const float apart = std::hypot(units[a]->position.x - image.x, units[a]->position.y - image.y);
            if (apart < units[a]->GetRadius() + units[b]->GetRadius() + 0.01f)
                return ::testing::AssertionFailure() << units[a]->name.CStr() << " and " << units[b]->name.CStr()
                                                     << " are " << apart << " apart";
        }
    }
    return ::testing::AssertionSuccess();
}

// Path points beyond the start point held by unit records that stand nowhere in the arena:
// what a unit read and then let go failed to give back to the pools.
inline int StrayPathPoints(Arena& arena) {
    int count = 0;
    const MemoryBlock& pool = *arena.PoolOfKind(kKindVorn);
    const Array<WorldObject*>& listed = arena.Objects();
    for (int i = 0; i < pool.BlockCount() * pool.PerBlock(); ++i) {
        const auto* record = static_cast<const Vorn*>(pool.ElementAt(i));
        if (std::find(listed.begin(), listed.end(), record) != listed.end()) continue;
        for (int p = 0; p < Vorn::kMaxPatterns; ++p) count += std::max(record->PatternAt(p).pathPoints.Count() - 1, 0);
    }
    return count;
}
