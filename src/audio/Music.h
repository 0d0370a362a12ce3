#pragma once
// The music and speech side of the user's volume classes, and the three music play
// lists that songs are picked from at random. The effects class stays with the effect
// sounds. Everything here runs on the main thread.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"

class Sounder;
class StreamSound;

enum class PlayList : int32_t { kWar = 0, kSneak = 1, kMenu = 2 };

// The sound manager songs and speech play through; none in a silent or headless run,
// where every song request answers none.
void SetMusicSounder(Sounder* sounder);

// Each factor is 1 until the options set it.
void SetMusicVolumeFactor(float factor);
float GetMusicVolumeFactor();
void SetSpeechVolumeFactor(float factor);
float GetSpeechVolumeFactor();

// "Music\<name>", with ".OGG" added when the name has no extension.
String MusicPath(const String& name);

// The list's songs, each a full music path (start-up reads the list files).
void SetPlayList(PlayList list, const StringArray& songPaths);
const StringArray& GetPlayList(PlayList list);
void ClearPlayLists();

// The entry chosen by one draw of the game's generator, (r (n - 1) + 16383) / 32767:
// the first and last songs have half the chance of the others. -1 for an empty list.
int32_t PickSong(PlayList list);

void PlaySpeechSound(StreamSound* stream, float volume, int32_t mode);
void PlayMusicStream(StreamSound* stream, float volume, int32_t mode);
// A random song of the list, played at the music factor: war and sneak songs loop, menu
// songs play once. None (and nothing plays) for an empty list or without a sound manager.
StreamSound* PlayRandomWarSong();
StreamSound* PlayRandomSneakSong();
StreamSound* PlayRandomMenuSong();

// The player's music switch; false at start.
bool IsMusicOff();
void SetMusicOff(bool off);
