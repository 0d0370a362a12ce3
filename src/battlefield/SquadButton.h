#pragma once
// A squad drawn as a button: each member's chassis marker at its place in the squad's
// formation, offsets of -20 to 20 spanning the square, y growing upward.
#include "core/IntRect.h"

class SquadSummary;
struct Sprite;

// The markers are indexed by chassis; a member of an unknown chassis is left out.
void DrawSquadButton(const SquadSummary& squad, const IntRect& rect, Sprite* const (&markers)[6]);
