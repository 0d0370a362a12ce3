// Track playback.
#include "engine/AnimationController.h"

#include <algorithm>

#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"

void AnimationController::Play(ModelNode* target, const String& animationName, const String& trackName, bool loop,
                               float blend, float second, bool restart) {
    const int animation = target != nullptr ? target->FindAnimation(animationName) : -1;
    const int trackNumber = animation >= 0 ? target->Animations()[animation].FindTrack(trackName) : -1;
    if (trackNumber < 0) {
        Stop();
        return;
    }
    Start(target, animation, trackNumber, loop, blend, second, restart);
}

const PoseTrack* AnimationController::Track() const {
    if (model == nullptr || animationIndex < 0) return nullptr;
    const Array<PoseAnimation>& list = model->Animations();
    if (animationIndex >= list.Count()) return nullptr;
    const PoseAnimation& animation = list[animationIndex];
    if (trackIndex < 0 || trackIndex >= animation.tracks.Count()) return nullptr;
    return &animation.tracks[trackIndex];
}

void AnimationController::Start(ModelNode* target, int animation, int trackNumber, bool loop, float blend, float second,
                                bool restart) {
    const bool same = playing && target == model && animation == animationIndex && trackNumber == trackIndex;
    if (same && !restart) return;
    model = target;
    animationIndex = animation;
    trackIndex = trackNumber;
    const PoseTrack* track = Track();
    if (track == nullptr || track->keys.IsEmpty()) {
        Stop();
        return;
    }
    position = track->keys[0].point;
    segmentStart = position;
    segmentTime = 0.0f;
    segmentIndex = 0;
    playing = 1;
    looping = loop ? 1 : 0;
    blendTime = blend;
    secondValue = second;
    model->ResetPose(blend);
}

void AnimationController::Restart(float leftOver) {
    Start(model, animationIndex, trackIndex, looping != 0, blendTime, secondValue, true);
    const PoseTrack* track = Track();
    if (track == nullptr) return;
    segmentStart = track->keys[0].point;
    segmentIndex = std::min(1, track->keys.Count() - 1);
    segmentTime = leftOver;
}

void AnimationController::Advance(float elapsed) {
    if (!playing) return;
    const PoseTrack* track = Track();
    if (track == nullptr || track->keys.IsEmpty()) {
        Stop();
        return;
    }
    const Array<PoseTrackKey>& keys = track->keys;
    float total = 0.0f;
    for (const PoseTrackKey& key : keys) total += key.duration;
    // A looping track that takes no time would restart without end: it holds its first
    // key instead.
    if (looping && total <= 0.0f) {
        position = keys[0].point;
        model->ApplyAnimation(animationIndex, *this, elapsed);
        return;
    }
    segmentTime += std::max(elapsed, 0.0f);
    while (keys[segmentIndex].duration <= segmentTime) {
        segmentTime -= keys[segmentIndex].duration;
        segmentStart = keys[segmentIndex].point;
        ++segmentIndex;
        if (segmentIndex < keys.Count()) continue;
        if (!looping) {
            segmentIndex = keys.Count() - 1;
            position = segmentStart;
            Stop();
            return;
        }
        Restart(segmentTime);
    }
    const PoseTrackKey& key = keys[segmentIndex];
    position = segmentStart + (key.point - segmentStart) * (segmentTime / key.duration);
    model->ApplyAnimation(animationIndex, *this, elapsed);
}

void AnimationController::Stop() {
    playing = 0;
    model = nullptr;
    animationIndex = -1;
    trackIndex = -1;
}
