#pragma once
#include "core/Vector3.h"
#include "world/CollisionShape.h"

// The collision shape of a world object of kind kind standing at ground point p; r is
// the radius for kinds without a fixed size.
CollisionShape ShapeForObjectKind(int kind, const Vector3& p, float r);
