#pragma once
// What a collision pair test found: where the moving shape has to stop and where the
// two surfaces touch.
#include "core/Vector3.h"

class WorldObject;

// Collision stops leave this gap so that the stopped shape does not touch again.
constexpr float kContactClearance = 0.005f;

struct ContactRecord {
    // Where the moving shape's reference point (a sphere's centre, a cylinder's first
    // end) has to be for the shapes to just not overlap.
    Vector3 stopPosition;
    // The touching point between the two surfaces.
    Vector3 contactPoint;
    // The object whose shape was hit; the arena's queries fill it.
    WorldObject* otherObject = nullptr;
};
