#pragma once
// Moves a point along a pose track of a model's animation and poses the model from the
// animation at each step. Keys are reached one after another, each taking its duration;
// a looping controller starts the track again and carries the time left over.
#include <cstdint>

#include "core/String.h"
#include "core/Vector3.h"

class ModelNode;
struct PoseTrack;

class AnimationController {
public:
    AnimationController() = default;

    // Finds the animation and its track by name; stops when either is missing.
    void Play(ModelNode* target, const String& animationName, const String& trackName, bool loop, float blend,
              float second, bool restart);
    // Starts the track from its first key unless that very track already plays (or
    // restart is set); the model blends into the new pose over the blend time.
    void Start(ModelNode* target, int animation, int trackNumber, bool loop, float blend, float second, bool restart);
    void Advance(float elapsed);
    void Stop();

    // The playing track, or none.
    const PoseTrack* Track() const;
    bool IsPlaying() const { return playing != 0; }

    Vector3 position;
    float segmentTime = 0.0f;
    int32_t segmentIndex = 0;
    Vector3 segmentStart;
    ModelNode* model = nullptr;
    int32_t animationIndex = -1;
    int32_t trackIndex = -1;
    uint8_t playing = 0;
    uint8_t looping = 0;
    float blendTime = 0.0f;
    float secondValue = 0.0f;  // kept for restarts

private:
    void Restart(float leftOver);
};
