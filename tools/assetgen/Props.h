#pragma once
// The painted models the game loads by name: props and markers, scenery, the weapon
// models hung on the units' weapon places, and the painted body parts of the chassis.
#include <string>

#include "ActorModel.h"

namespace assetgen {

// name: the model's title ("PineTree", "LaserWeapon", "RobotSmallHead"). Throws for a
// name it does not know.
PaintedMesh MakeProp(const std::string& name);

}  // namespace assetgen
