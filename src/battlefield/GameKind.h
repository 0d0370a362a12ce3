#pragma once
// Which game mode runs now, as the battle's windows ask it: by the mode's name, and for
// network play by the game's own answer.
#include "game/Game.h"

inline bool IsCurrentGame(const char* modeName) {
    const Game* game = CurrentGame();
    return game != nullptr && game->modeName.EqualsNoCase(modeName);
}

inline bool IsNetworkGame() {
    const Game* game = CurrentGame();
    return game != nullptr &&
           (game->IsNetworkClient() || game->IsNetworkServer() || game->modeName.EqualsNoCase("NetworkGame"));
}
