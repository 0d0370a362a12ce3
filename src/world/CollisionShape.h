#pragma once
// The collision shape of a world object: a sphere (kind 0) or a cylinder (kind 1)
// tested as a capsule. Only the fields of the current kind are meaningful; any other
// kind hits nothing.
#include <cstdint>

#include "core/Vector3.h"

struct CollisionShape {
    int32_t kind = 0;
    Vector3 sphereCentre;
    float sphereRadius = 0.0f;
    Vector3 cylinderFirst;
    Vector3 cylinderSecond;
    float cylinderRadius = 0.0f;
};
