#pragma once
// The animation phase that every object of a kind shares, kept in [0, 1].

// Advances the phase by 0.75 per second of the current game's frame time.
void AdvanceSharedPhase();
// A phase above 1 brought back into (0, 1] as whole steps of 1 would: exactly 1 stays 1.
// A phase that is no number gives 0.
float FoldPhase(float phase);
float GetSharedPhase();
void SetSharedPhase(float phase);
