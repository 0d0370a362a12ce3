#pragma once
// A unit's body in its owner's colours, whatever chassis the unit has. The bodies of one
// chassis share their meshes, so the owner's pictures go onto the shared materials just
// before each body is drawn. Each player keeps its own recoloured copy of a chassis
// family's part pictures, made when first needed and remade when its colours change.
#include <cstdint>

class Player;

void ApplyOwnerColours(int32_t chassis, const Player& owner);
