#pragma once
// The game's sound effects, each made from its name: zaps, booms, whooshes, clicks,
// jingles, spoken cheers and laughs, and the three seamless loops.
#include <string>

#include "Synth.h"

namespace assetgen {

class Voice;

// True for the sounds the game plays until it stops them, which must loop without a seam.
bool IsLoopingSound(const std::string& name);
// name: the file title ("Laser2", "WeaponBomb"); mono at the sound rate.
Samples MakeSoundEffect(const std::string& name, Voice& voice);

}  // namespace assetgen
