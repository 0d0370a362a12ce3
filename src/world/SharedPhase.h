#pragma once
// The animation phase that every object of a kind shares, kept in [0, 1].

// Advances the phase by 0.75 per second of the current game's frame time.
void AdvanceSharedPhase();
float GetSharedPhase();
void SetSharedPhase(float phase);
