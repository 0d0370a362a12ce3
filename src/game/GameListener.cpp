// What the views of the game hear of it.
#include "game/GameListener.h"

namespace {
GameListener* gGameListener = nullptr;
}  // namespace

void SetGameListener(GameListener* listener) { gGameListener = listener; }

GameListener* GetGameListener() { return gGameListener; }
