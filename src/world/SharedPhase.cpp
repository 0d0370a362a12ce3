// The animation phase that every object of a kind shares.
#include "world/SharedPhase.h"

#include <cmath>

#include "game/Game.h"

namespace {
float gSharedPhase = 0.0f;
}  // namespace

void AdvanceSharedPhase() {
    const Game* game = CurrentGame();
    if (game == nullptr) return;
    gSharedPhase = FoldPhase(gSharedPhase + game->frameTime * 0.75f);
}

float FoldPhase(float phase) {
    if (!std::isfinite(phase)) return 0.0f;
    if (phase <= 1.0f) return phase;
    const float folded = std::fmod(phase, 1.0f);
    return folded == 0.0f ? 1.0f : folded;
}

float GetSharedPhase() { return gSharedPhase; }

void SetSharedPhase(float phase) { gSharedPhase = phase; }
