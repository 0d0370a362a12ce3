#pragma once
// The sounds of the battlefield's objects and effects, loaded once per name and played
// through the sound manager that start-up hands over. With none (a headless run) every
// effect sound is a silent record, and the functions still answer.
#include <cstdint>
#include <vector>

#include "core/String.h"
#include "core/Vector3.h"

class Sound;
class Sounder;

// The path of a sound of the "Sounds" folder, spelled as the data names it; ".WAV" is
// added when the name has no extension.
String SoundPath(const String& name);

void SetEffectSounder(Sounder* sounder);
Sounder* GetEffectSounder();
// The user's effects volume factor, 1 until the options set it.
void SetEffectVolumeFactor(float factor);
float GetEffectVolumeFactor();

// The index of the effect sound, loaded once per name (letter case ignored): every
// object that names the sound shares one record. Never negative for a non-empty name;
// -1 for an empty one.
int32_t LoadEffectSound(const String& path);
// Plays the sound at the effects factor x volume; an index never handed out does nothing.
void PlayEffectSound(int32_t sound, float volume, int32_t argument);
// The record behind an index, or none.
Sound* GetEffectSound(int32_t sound);
void PlaceEffectSound(int32_t sound, const Vector3& point);
void StopEffectSound(int32_t sound);
bool IsEffectSoundPlaying(int32_t sound);

// One PlayEffectSound call: the sound, its upper-cased name, the volume handed to the
// sound manager (factor applied) and the flags.
struct EffectSoundRequest {
    int32_t sound = -1;
    String name;
    float volume = 0.0f;
    int32_t flags = 0;
};
// While recording is on (tests), every PlayEffectSound call is kept in order, so that a
// headless game can be heard. Off at start; turning it on empties the list.
void RecordEffectSoundRequests(bool on);
const std::vector<EffectSoundRequest>& GetEffectSoundRequests();
