#pragma once
// The animated and assembled models: the six chassis bodies with their named nodes,
// painted parts and pose sets, the face parts, the Professor, the bunnies, the lab, the
// swimmer of the loading screen and the solar charger.
#include <string>
#include <vector>

#include "ActorModel.h"

namespace assetgen {

// Titles of every ".act" file this program makes.
std::vector<std::string> ActorTitles();
ActorModel MakeActor(const std::string& title);
// The model with a neutral face on its face nodes, for portraits and pictures: in the game
// the player's chosen face parts go there.
ActorModel WithFace(ActorModel model);
// Gives the model a pose set for each (animation, track) it lacks, or the missing track,
// so that whatever the scenes play exists: a gentle sway of the body.
void AddAnimations(ActorModel& model, const std::vector<std::pair<std::string, std::string>>& wanted);

// The painted body parts whose textures carry the owner's colours.
bool IsBodyPart(const std::string& name);
PaintedMesh MakeBodyPart(const std::string& name);

}  // namespace assetgen
