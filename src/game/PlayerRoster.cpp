// The players the world knows.
#include "game/PlayerRoster.h"

#include "game/Player.h"

Player* PlayerRoster::FindPlayerByName(const String& name) const {
    for (Player* player : networkPlayers) {
        if (player != nullptr && String::EqualsNoCaseString(player->name, name)) return player;
    }
    return nullptr;
}

void PlayerRoster::AddPlayer(Player* player) {
    if (player == nullptr) return;
    for (Player* listed : networkPlayers) {
        if (listed == player) return;
    }
    networkPlayers.Append(player);
}

void PlayerRoster::RemovePlayer(Player* player) {
    for (int i = 0; i < networkPlayers.Count(); ++i) {
        if (networkPlayers[i] != player) continue;
        for (int j = i; j + 1 < networkPlayers.Count(); ++j) networkPlayers[j] = networkPlayers[j + 1];
        networkPlayers.SetSize(networkPlayers.Count() - 1);
        return;
    }
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
