#pragma once
// The free point of the ground nearest a wanted one for a body that must keep clear of
// the bodies standing there and, when asked, inside a circle.
#include <span>

#include "core/Vector2.h"

struct GroundDisc {
    Vector2 centre;
    float radius;
};

// The point nearest `wanted` whose distance from each taken disc's centre is at least
// that disc's radius and which lies inside `bound` when one is given; false when there
// is none. A point moved to keeps `room` more than needed from each disc and inside the
// bound, so that rounding it later does not press it again.
bool NearestFreePoint(const Vector2& wanted, std::span<const GroundDisc> taken, const GroundDisc* bound, float room,
                      Vector2& place);
