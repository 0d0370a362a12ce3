#pragma once
// Bounds of a pattern. The counts bound what the editor builds and what the reader keeps
// of a unit file, which may come from a peer: beyond them the matcher's pairing and line
// building grow quadratically for nothing a player could have drawn.
#include <cstdint>

// Patterns a unit may hold.
constexpr int kMaxPatternSlots = 16;
// Path points of a pattern, the unit's start point included.
constexpr int kMaxPathPoints = 9;
// Objects of a pattern, the unit's own object included.
constexpr int kMaxPatternObjects = 9;
constexpr int kMaxMapConditionals = 8;
constexpr int kMaxActionsPerPathPoint = 8;

// The editing area: a square around the unit in pattern coordinates, edges included.
constexpr float kPatternAreaMin = -25.0f;
constexpr float kPatternAreaMax = 25.0f;
// Bounded object kinds and map conditionals lie within this distance of the unit, edge
// included; an object outside is pulled back to just inside it, so that the edge test
// holds after rounding.
constexpr float kPatternBoundRadius = 20.0f;
constexpr float kPatternClampRadius = 20.0f - 0.00001f;
// Grab radius of path points, map conditionals and action icons; a path point's facing
// handle counts as set beyond it.
constexpr float kPatternHitRadius = 1.4f;
// Grab radius of facing handles.
constexpr float kPatternHandleRadius = 0.7f;
// Instant action icons sit on a ring that clears the path point's icon and a handle.
constexpr float kActionRingRadius = kPatternHitRadius + kPatternHandleRadius + kPatternHitRadius;
// Clicks between the point's icon and the outer edge of the ring's icons hit the ring.
constexpr float kActionRingOuter = kActionRingRadius + kPatternHitRadius;
