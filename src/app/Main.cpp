// The application: the players of a network game and the two global player records.
#include "app/Main.h"

#include "game/Player.h"

Player* Main::FindPlayerByName(const String& name) const {
    for (Player* player : networkPlayers) {
        if (player != nullptr && String::EqualsNoCaseString(player->name, name)) return player;
    }
    return nullptr;
}

Main& GetMain() {
    static Main main;
    return main;
}

Player& GetLocalPlayer() {
    static Player local;
    return local;
}

Player& GetOpponentPlayer() {
    static Player opponent;
    return opponent;
}
