#pragma once
// The players the world knows: the two global player records and the players of the
// current network game.
#include "core/Array.h"
#include "core/String.h"

class Player;

class PlayerRoster {
public:
    // The player of a network game with that name, compared without regard to case, or
    // none.
    Player* FindPlayerByName(const String& name) const;
    // Appends the player unless it is already listed.
    void AddPlayer(Player* player);
    // Removes its first entry, the later ones moving down; the record is not destroyed.
    void RemovePlayer(Player* player);

    // The players of the current network game; not owned.
    Array<Player*> networkPlayers;
};

PlayerRoster& GetPlayerRoster();
// The local player's record; units read from a file without an owner get it.
Player& GetLocalPlayer();
// The opponent's record: the computer or the other side.
Player& GetOpponentPlayer();
