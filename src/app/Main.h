#pragma once
// The application: what the world reads of it (the players of a network game) and the
// two global player records.
#include "core/Array.h"
#include "core/String.h"

class Player;

class Main {
public:
    // The player of a network game with that name, compared without regard to case, or
    // none.
    Player* FindPlayerByName(const String& name) const;

    // The players of the current network game; not owned.
    Array<Player*> networkPlayers;
};

Main& GetMain();
// The local player's record; units read from a file without an owner get it.
Player& GetLocalPlayer();
// The opponent's record: the computer or the other side.
Player& GetOpponentPlayer();
