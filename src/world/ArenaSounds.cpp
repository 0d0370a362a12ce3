// The arena's positional sounds: each world sound is heard from its wrapped image nearest
// the listener, fading with distance and panned by its offset to the listener's right.
#include <algorithm>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "world/Arena.h"

namespace {

// Loudness falls linearly with distance: silent from 250 units on.
constexpr float kFadePerUnit = 0.004f;
// Sounds within this lateral distance of the listener play centred.
constexpr float kPanDeadZone = 5.0f;
// Lateral distance (beyond the dead zone) at which a sound is fully to one side.
constexpr float kPanFullSide = 75.0f;

float LateralOffset(const Vector3& offset, const Vector2& right) {
    const float l = offset.x * right.x + offset.y * right.y;
    if (l < 0.0f) return std::min(l + kPanDeadZone, 0.0f);
    return std::max(l - kPanDeadZone, 0.0f);
}

}  // namespace

void Arena::PlaySoundAt(int32_t sound, float volume, int32_t argument) {
    Sound* record = GetEffectSound(sound);
    if (record == nullptr) return;
    if (record->IsTracked() && record->IsPlaying()) return;
    record->SetVolumeFactor(volume);
    PlayEffectSound(sound, PositionSound(record, false), argument);
    // A sound tracked by an arena that has since been shut down is not in this list.
    if (!record->IsTracked() || trackedSounds.Find(record) < 0) {
        trackedSounds.Append(record);
        record->SetTracked(true);
    }
}

void Arena::PlaySoundAtPoint(int32_t sound, const Vector3& point, float volume) {
    PlaceEffectSound(sound, point);
    PlaySoundAt(sound, volume, 0);
}

float Arena::PositionSound(Sound* sound, bool apply) {
    Vector3 p = NearestImage(listenerPosition, sound->Position());
    p.z = 0.0f;
    const float d = listenerPosition.Distance(p);
    const float attenuation = std::clamp(1.0f - kFadePerUnit * d, 0.0f, 1.0f);
    const float v = effectVolume * attenuation * sound->VolumeFactor();
    if (apply) sound->SetVolume(v);
    const float pan = LateralOffset(p - listenerPosition, listenerRight) / kPanFullSide;
    sound->SetPan(std::clamp(pan, -1.0f, 1.0f));
    return v;
}

void Arena::UpdateSounds() {
    int i = 0;
    while (i < trackedSounds.Count()) {
        auto* sound = static_cast<Sound*>(trackedSounds[i]);
        if (sound != nullptr && sound->IsPlaying()) {
            PositionSound(sound, true);
            ++i;
            continue;
        }
        if (sound != nullptr) sound->SetTracked(false);
        // The last entry takes the freed place and is examined next.
        const int last = trackedSounds.Count() - 1;
        trackedSounds[i] = trackedSounds[last];
        trackedSounds.RemoveAt(last);
    }
}
