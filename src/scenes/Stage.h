#pragma once
// One step of a scene: how long it lasts or what it waits for, where the camera stands
// and looks, the subtitle, the sound cues, the guide's spoken line and each actor's part.
#include <memory>
#include <string>
#include <vector>

#include "core/Vector3.h"
#include "scenes/ActorDirection.h"

class Sound;
class Sounder;

enum class SpeechState { NotStarted, Speaking, Finished };
enum class CueState { Waiting, Playing, Finished };

class Stage {
public:
    Stage() = default;
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // Releases the cue sounds and empties everything.
    void Clear();
    // Releases the cue sounds when the step is left; the cues are not played again.
    void ReleaseSounds();
    ActorDirection* AddDirection(const std::string& actorName);
    // A cue file without an extension is an ".ogg".
    void AddCue(float seconds, const std::string& file);
    // Loads each cue's sound from the "Sounds" folder (with no sound manager only the
    // files are checked); a cue whose file is missing is dropped with its time.
    void LoadSounds(Sounder* sounder);

    bool hasTime = false;
    float time = 0.0f;
    std::vector<std::unique_ptr<ActorDirection>> directions;
    std::string text;
    std::vector<std::string> lines;
    std::vector<float> cueTimes;
    std::vector<std::string> cueNames;
    std::vector<Sound*> cueSounds;
    std::vector<CueState> cueStates;
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

private:
    Sounder* sounder_ = nullptr;
};
