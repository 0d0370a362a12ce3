#pragma once
// Checks of how the units on a battlefield stand, shared by the arena's and the
// battlefield window's tests.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

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
