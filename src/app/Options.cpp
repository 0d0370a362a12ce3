// The options file.
#include "app/Options.h"

#include <algorithm>
#include <cmath>

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "core/Debugger.h"
#include "core/FileStream.h"
#include "engine/Renderer.h"

namespace {

// A value that is no number leaves the field as it was (a failed read keeps its target).
void ReadInt(Stream& stream, int32_t& field, int32_t low, int32_t high) {
    int value = field;
    stream >> value;
    field = std::clamp<int32_t>(value, low, high);
}

}  // namespace

float VolumeFactor(int32_t percent) {
    const float fraction = float(percent) / 100.0f;
    return std::sqrt(std::sqrt(std::max(fraction, 0.0f)));
}

void Options::Read(const char* path) {
    FileStream stream(path, "r");
    if (!stream.IsOpen()) return;
    String word;
    while (stream.IsGood()) {
        String::ReadToken(stream, word);
        if (word.IsEmpty()) break;
        if (word.EqualsNoCase("LODError")) {
            ReadInt(stream, lodError, 0, INT32_MAX);
        } else if (word.EqualsNoCase("MultiSample")) {
            ReadInt(stream, multiSample, 0, 100);
        } else if (word.EqualsNoCase("ScreenSize")) {
            ReadInt(stream, screenSize, 0, kScreenSizeCount - 1);
        } else if (word.EqualsNoCase("SoundVolume")) {
            ReadInt(stream, soundVolume, 0, 100);
        } else if (word.EqualsNoCase("SpeechVolume")) {
            ReadInt(stream, speechVolume, 0, 100);
        } else if (word.EqualsNoCase("MusicVolume")) {
            ReadInt(stream, musicVolume, 0, 100);
        } else if (word.EqualsNoCase("SeenIntroMovie")) {
            int32_t seen = seenIntroMovie ? 1 : 0;
            ReadInt(stream, seen, INT32_MIN, INT32_MAX);
            seenIntroMovie = seen != 0;
        } else if (word.EqualsNoCase("LastPlayerName")) {
            String::ReadToken(stream, lastPlayerName);
        } else if (word.EqualsNoCase("ProxyServer")) {
            String::ReadToken(stream, proxyServer);
        } else if (word.EqualsNoCase("LobbyHost")) {
            String::ReadToken(stream, lobbyHost);
        }
        // Any other word is skipped by itself: an unknown key's value is then skipped as a
        // word of its own, and a key right after a stray word is still read.
    }
}

bool Options::Write(const char* path) const {
    FileStream stream(path, "w");
    if (!stream.IsOpen()) {
        Debugger::Instance().Line("Options: cannot write the options file");
        return false;
    }
    stream << "LODError " << int(lodError) << Endl;
    stream << "MultiSample " << int(multiSample) << Endl;
    stream << "ScreenSize " << int(screenSize) << Endl;
    stream << "SoundVolume " << int(soundVolume) << Endl;
    stream << "MusicVolume " << int(musicVolume) << Endl;
    stream << "SpeechVolume " << int(speechVolume) << Endl;
    stream << "SeenIntroMovie " << (seenIntroMovie ? 1 : 0) << Endl;
    stream << "LastPlayerName " << lastPlayerName << Endl;
    if (!proxyServer.IsEmpty()) stream << "ProxyServer " << proxyServer << Endl;
    if (!lobbyHost.IsEmpty()) stream << "LobbyHost " << lobbyHost << Endl;
    return stream.Commit();
}

void SetEffectsVolume(int32_t percent) { SetEffectVolumeFactor(VolumeFactor(percent)); }

void SetMusicVolume(int32_t percent) { SetMusicVolumeFactor(VolumeFactor(percent)); }

void SetSpeechVolume(int32_t percent) { SetSpeechVolumeFactor(VolumeFactor(percent)); }

void Options::Apply() const {
    SetLODError(float(lodError));
    SetEffectsVolume(soundVolume);
    SetMusicVolume(musicVolume);
    SetSpeechVolume(speechVolume);
}
