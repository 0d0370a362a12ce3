// Music and speech volumes and the play lists.
#include "audio/Music.h"

#include "audio/Sounder.h"
#include "core/MathUtil.h"

namespace {

constexpr int kPlayListCount = 3;
constexpr int32_t kPlayOnce = 0;

struct MusicState {
    Sounder* sounder = nullptr;
    float musicFactor = 1.0f;
    float speechFactor = 1.0f;
    bool musicOff = false;
    StringArray lists[kPlayListCount];
};

MusicState& State() {
    static MusicState state;
    return state;
}

StringArray& ListOf(PlayList list) { return State().lists[int(list)]; }

StreamSound* PlayRandomSong(PlayList list, int32_t mode) {
    Sounder* sounder = State().sounder;
    const int32_t pick = PickSong(list);
    if (sounder == nullptr || pick < 0) return nullptr;
    // The lists hold full music paths already.
    StreamSound* stream = sounder->LoadStream(ListOf(list)[pick], 2, true);
    if (stream == nullptr) return nullptr;
    sounder->PlayStream(stream, State().musicFactor, mode);
    return stream;
}

}  // namespace

String MusicPath(const String& name) {
    String path = "Music\\" + name;
    if (name.Extension().IsEmpty()) path += ".OGG";
    return path;
}

void SetMusicSounder(Sounder* sounder) { State().sounder = sounder; }

void SetMusicVolumeFactor(float factor) { State().musicFactor = factor; }

float GetMusicVolumeFactor() { return State().musicFactor; }

void SetSpeechVolumeFactor(float factor) { State().speechFactor = factor; }

float GetSpeechVolumeFactor() { return State().speechFactor; }

void SetPlayList(PlayList list, const StringArray& songPaths) { ListOf(list) = songPaths; }

const StringArray& GetPlayList(PlayList list) { return ListOf(list); }

void ClearPlayLists() {
    for (StringArray& list : State().lists) list.Clear();
}

int32_t PickSong(PlayList list) { return RandomPick(ListOf(list).Count()); }

void PlaySpeechSound(StreamSound* stream, float volume, int32_t mode) {
    if (State().sounder == nullptr || stream == nullptr) return;
    State().sounder->PlayStream(stream, State().speechFactor * volume, mode);
}

void PlayMusicStream(StreamSound* stream, float volume, int32_t mode) {
    if (State().sounder == nullptr || stream == nullptr) return;
    State().sounder->PlayStream(stream, State().musicFactor * volume, mode);
}

StreamSound* PlayRandomWarSong() { return PlayRandomSong(PlayList::kWar, Sounder::kLoop); }

StreamSound* PlayRandomSneakSong() { return PlayRandomSong(PlayList::kSneak, Sounder::kLoop); }

StreamSound* PlayRandomMenuSong() { return PlayRandomSong(PlayList::kMenu, kPlayOnce); }

bool IsMusicOff() { return State().musicOff; }

void SetMusicOff(bool off) { State().musicOff = off; }
