// The animation phase that every object of a kind shares.
#include "world/SharedPhase.h"

#include "game/Game.h"

namespace {
float gSharedPhase = 0.0f;
}  // namespace

void AdvanceSharedPhase() {
    const Game* game = CurrentGame();
    if (game == nullptr) return;
    gSharedPhase += game->frameTime * 0.75f;
    while (gSharedPhase > 1.0f) gSharedPhase -= 1.0f;
}

float GetSharedPhase() { return gSharedPhase; }

void SetSharedPhase(float phase) { gSharedPhase = phase; }
