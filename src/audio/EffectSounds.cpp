// The sounds of the battlefield's objects and effects.
#include "audio/EffectSounds.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "audio/Sound.h"
#include "audio/Sounder.h"

String SoundPath(const String& name) {
    String path = "Sounds\\" + name;
    if (name.Extension().IsEmpty()) path += ".WAV";
    return path;
}

namespace {

// One effect sound: the manager's record, or a silent one of our own while no manager
// runs. Entries are never dropped, so an index stays valid for the whole run.
struct EffectSoundEntry {
    String name;  // upper-cased, as the manager keys its table
    Sound* sound = nullptr;
    std::unique_ptr<Sound> silent;
};

struct EffectSounds {
    Sounder* sounder = nullptr;
    float volumeFactor = 1.0f;
    std::vector<EffectSoundEntry> entries;
    std::unordered_map<std::string, int32_t> byName;
    bool recording = false;
    std::vector<EffectSoundRequest> requests;
};

EffectSounds& Effects() {
    static EffectSounds effects;
    return effects;
}

void LoadEntry(EffectSoundEntry& entry, Sounder* sounder) {
    entry.silent.reset();
    entry.sound = nullptr;
    if (sounder != nullptr) entry.sound = sounder->LoadSound(entry.name, Sound::kPanned, true);
    if (entry.sound != nullptr) return;
    entry.silent = std::make_unique<Sound>();
    entry.silent->SetName(entry.name);
    entry.silent->SetKind(Sound::kPanned);
    entry.sound = entry.silent.get();
}

EffectSoundEntry* EntryOf(int32_t sound) {
    std::vector<EffectSoundEntry>& entries = Effects().entries;
    if (sound < 0 || static_cast<size_t>(sound) >= entries.size()) return nullptr;
    return &entries[static_cast<size_t>(sound)];
}

}  // namespace

void SetEffectSounder(Sounder* sounder) {
    EffectSounds& effects = Effects();
    if (effects.sounder == sounder) return;
    effects.sounder = sounder;
    // The old manager's records go with it: every index is loaded again from the new one.
    for (EffectSoundEntry& entry : effects.entries) LoadEntry(entry, sounder);
}

Sounder* GetEffectSounder() { return Effects().sounder; }

void SetEffectVolumeFactor(float factor) { Effects().volumeFactor = factor; }

float GetEffectVolumeFactor() { return Effects().volumeFactor; }

int32_t LoadEffectSound(const String& path) {
    if (path.IsEmpty()) return -1;
    EffectSounds& effects = Effects();
    const String name = path.Uppered();
    const auto found = effects.byName.find(name.CStr());
    if (found != effects.byName.end()) return found->second;
    const auto index = static_cast<int32_t>(effects.entries.size());
    effects.entries.emplace_back();
    effects.entries.back().name = name;
    LoadEntry(effects.entries.back(), effects.sounder);
    effects.byName.emplace(name.CStr(), index);
    return index;
}

void PlayEffectSound(int32_t sound, float volume, int32_t argument) {
    EffectSoundEntry* entry = EntryOf(sound);
    if (entry == nullptr) return;
    EffectSounds& effects = Effects();
    const float level = effects.volumeFactor * volume;
    if (effects.recording) effects.requests.push_back({sound, entry->name, level, argument});
    if (effects.sounder != nullptr && entry->silent == nullptr) {
        effects.sounder->Play(entry->sound, level, static_cast<uint32_t>(argument));
    }
}

Sound* GetEffectSound(int32_t sound) {
    EffectSoundEntry* entry = EntryOf(sound);
    return entry != nullptr ? entry->sound : nullptr;
}

void PlaceEffectSound(int32_t sound, const Vector3& point) {
    if (Sound* record = GetEffectSound(sound)) record->SetPosition(point);
}

void StopEffectSound(int32_t sound) { StopSound(GetEffectSound(sound)); }

bool IsEffectSoundPlaying(int32_t sound) {
    const Sound* record = GetEffectSound(sound);
    return record != nullptr && record->IsPlaying();
}

void RecordEffectSoundRequests(bool on) {
    Effects().recording = on;
    Effects().requests.clear();
}

const std::vector<EffectSoundRequest>& GetEffectSoundRequests() { return Effects().requests; }
