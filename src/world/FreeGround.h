#pragma once
// The free point of the ground nearest a wanted one for a body that must keep clear of
// the bodies standing there and, when asked, inside a circle.
#include <cstdint>
#include <functional>
#include <limits>
#include <span>

#include "core/Vector2.h"

struct GroundDisc {
    Vector2 centre;
    float radius;
};

// A rectangle from `low` to `high`.
struct GroundBox {
    Vector2 low;
    Vector2 high;
};

// What a search may ask of the point beyond being free.
struct FreePointRule {
    // Points farther than this from the wanted one are not taken.
    float reach = std::numeric_limits<float>::infinity();
    // A free point must pass this too, when set.
    std::function<bool(const Vector2&)> accept;
    // Above 0: the points of a grid this fine around the wanted one are tried as well,
    // for the free ground that `accept` refuses at the discs' edges.
    float step = 0.0f;
    // When given, `accept` refuses every point outside this rectangle: the grid is tried
    // only inside it.
    const GroundBox* box = nullptr;
    // Circles known to hold no free point: their inside is left aside.
    std::span<const GroundDisc> full;
    // Set when given: whether any free point within reach was met, accepted or not.
    bool* metFree = nullptr;
    // When given, the work the search may still do, in about the time of reading a
    // point of ground: each point it makes or tries takes some, and `accept` may take
    // more for what it reads. Once it is spent the search gives
    // up and finds nothing, having done at most one point's or one `accept`'s work more.
    int64_t* workLeft = nullptr;
};

// The point nearest `wanted` whose distance from each taken disc's centre is at least
// that disc's radius and which lies inside `bound` when one is given (and, with a rule,
// within its reach and accepted by it); false when there is none. A point moved to keeps
// `room` more than needed from each disc and inside the bound, so that rounding it later
// does not press it again. Of points equally near, the one with the least x, then y.
// Odd numbers find nothing rather than a wrong point: false for a wanted point, room or
// bound that is not finite, and for a room, or a disc or bound reaching near the wanted
// point, too large to measure (beyond about 1e18 from it). A disc that is not finite or
// lies beyond every point the search takes is left out, as are a bound holding all those
// points and a full area not finite or too large. No point farther than 4e18 from the
// wanted one is taken, nor more than 1,024 rings of the rule's grid tried, nor more work
// done than the rule allows.
bool NearestFreePoint(const Vector2& wanted, std::span<const GroundDisc> taken, const GroundDisc* bound, float room,
                      Vector2& place, const FreePointRule* rule = nullptr);
