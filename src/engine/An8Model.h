#pragma once
// The reader of ".an8" model files.
#include "engine/ModelLoadSettings.h"

class ActorSet;

// Reads the file the set is named after into the set's entries: one per figure, or one
// per object in a file without figures, each tree with its keyed tracks, scaled by
// `scale`. Problems are reported on the console. False when the file cannot be read or
// does not parse; what was built before the error stays with the renderer, unused.
bool LoadAn8Model(ActorSet& set, float scale, const ModelLoadSettings& settings);
