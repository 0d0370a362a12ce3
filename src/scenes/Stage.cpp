// One step of a scene.
#include "scenes/Stage.h"

void Stage::Clear() { *this = Stage(); }

ActorDirection* Stage::AddDirection(const std::string& actorName) {
    directions.push_back(std::make_unique<ActorDirection>());
    directions.back()->actorName = actorName;
    return directions.back().get();
}

void Stage::AddCue(float seconds, const std::string& file) {
    const size_t slash = file.find_last_of("/\\");
    const size_t dot = file.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    cueTimes.push_back(seconds);
    cueNames.push_back(hasExtension ? file : file + ".ogg");
}
