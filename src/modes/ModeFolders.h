#pragma once
// The unit, squad and scenario folders the modes switch between: the shared ones, a
// player's own, and the tutorials' copies.
#include "core/String.h"

class Player;

// "Vorns\", "Squads\" and "Scenarios\".
void UseDefaultFolders();
// The player's own folders; the shared ones for the "no player" name and for a name that
// is not a safe folder name.
void UsePlayerFolders(const Player& player);
void UseTutorialFolders();
