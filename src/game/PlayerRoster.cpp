// The players the world knows.
#include "game/PlayerRoster.h"

#include "game/Player.h"

Player* PlayerRoster::FindPlayerByName(const String& name) const {
    for (Player* player : networkPlayers) {
        if (player != nullptr && String::EqualsNoCaseString(player->name, name)) return player;
    }
    return nullptr;
}

PlayerRoster& GetPlayerRoster() {
    static PlayerRoster roster;
    return roster;
}

Player& GetLocalPlayer() {
    static Player local;
    return local;
}

Player& GetOpponentPlayer() {
    static Player opponent;
    return opponent;
}
