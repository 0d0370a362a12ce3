#pragma once
// Music loops from a tiny pattern sequencer: a chord progression with bass, pad, melody
// and drums. Note tails wrap around the end, so the piece repeats without a seam.
#include <string>

#include "Synth.h"

namespace assetgen {

enum class MusicMood { War, Sneak, Menu };

// Interleaved stereo at the sound rate.
Samples ComposeMusic(const std::string& songName, MusicMood mood);

}  // namespace assetgen
