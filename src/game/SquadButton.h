#pragma once
// A squad's button as the trays and the pointer show it: the button picture with one
// chassis icon per member, placed where the member stands in the squad.
#include "core/IntRect.h"
#include "core/Vector2.h"

class Player;
class SquadSummary;

// The square, in pixels, that a member standing at `position` of the squad area
// (-20..20 on both axes, +y up) takes on a button drawn into the rectangle.
IntRect SquadMemberIconRect(const IntRect& button, const Vector2& position);

// Members are drawn with the chassis the owner uses for their size class.
void DrawSquadButton(const Player& owner, const SquadSummary& squad, const IntRect& rect);
// The renderer is going: the shared button sprites are made again on the next draw.
void ForgetSquadButtonSprites();
