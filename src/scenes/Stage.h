#pragma once
// One step of a scene: how long it lasts or what it waits for, where the camera stands
// and looks, the subtitle, the sound cues, the guide's spoken line and each actor's part.
#include <memory>
#include <string>
#include <vector>

#include "core/Vector3.h"
#include "scenes/ActorDirection.h"

enum class SpeechState { NotStarted, Speaking, Finished };

class Stage {
public:
    void Clear();
    ActorDirection* AddDirection(const std::string& actorName);
    // A cue file without an extension is an ".ogg".
    void AddCue(float seconds, const std::string& file);

    bool hasTime = false;
    float time = 0.0f;
    std::vector<std::unique_ptr<ActorDirection>> directions;
    std::string text;
    std::vector<std::string> lines;
    std::vector<float> cueTimes;
    std::vector<std::string> cueNames;
    std::string speechName;
    SpeechState speechState = SpeechState::NotStarted;
    bool speechDoesNotHold = false;
    bool hasCameraPosition = false;
    Vector3 cameraPosition;
    bool hasLookAt = false;
    Vector3 lookAt;
    bool hasLookAtActor = false;
    std::string lookAtActorName;
    bool hasLookAtActorOffset = false;
    Vector3 lookAtActorOffset;
    bool shake = false;
};
