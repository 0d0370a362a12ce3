// One step of a scene.
#include "scenes/Stage.h"

#include "audio/EffectSounds.h"
#include "audio/Sounder.h"
#include "platform/sys/FileSystem.h"

Stage::~Stage() { Clear(); }

void Stage::ReleaseSounds() {
    if (sounder_) {
        for (Sound* sound : cueSounds) {
            sounder_->ReleaseSound(sound);
        }
    }
    cueSounds.clear();
    cueStates.clear();
}

void Stage::Clear() {
    ReleaseSounds();
    sounder_ = nullptr;
    hasTime = false;
    time = 0.0f;
    directions.clear();
    text.clear();
    lines.clear();
    cueTimes.clear();
    cueNames.clear();
    cueSounds.clear();
    cueStates.clear();
    speechName.clear();
    speechState = SpeechState::NotStarted;
    speechDoesNotHold = false;
    hasCameraPosition = hasLookAt = hasLookAtActor = hasLookAtActorOffset = shake = false;
    lookAtActorName.clear();
}

void Stage::LoadSounds(Sounder* sounder) {
    sounder_ = sounder;
    std::vector<float> keptTimes;
    std::vector<std::string> keptNames;
    for (size_t i = 0; i < cueNames.size(); ++i) {
        const String path = SoundPath(String(cueNames[i].c_str()));
        if (!sys::Exists(path.CStr())) {
            continue;
        }
        keptTimes.push_back(cueTimes[i]);
        keptNames.push_back(cueNames[i]);
        if (sounder) {
            cueSounds.push_back(sounder->LoadSound(path, 1, true));
            cueStates.push_back(CueState::Waiting);
        }
    }
    cueTimes = std::move(keptTimes);
    cueNames = std::move(keptNames);
}

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
