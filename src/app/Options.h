#pragma once
// The user's settings kept between runs in "Options.txt": display detail, antialiasing,
// screen size, the three volumes, whether the intro was seen and the last player.
#include <cstdint>

#include "core/String.h"

struct Options {
    static constexpr const char* kFileName = "Options.txt";
    // Entries of the full-screen size table.
    static constexpr int32_t kScreenSizeCount = 15;

    // Reads the file over the current values; a missing file leaves them. Words that are
    // no key are skipped together with their value. Values out of range are brought into
    // range: a negative volume would make its factor NaN, and the screen size indexes a
    // table.
    void Read(const char* path = kFileName);
    // A safe save of every value, one "Key value" line each; false when it failed (the old
    // file then stays).
    bool Write(const char* path = kFileName) const;

    // The renderer's level-of-detail error and the three volume factors.
    void Apply() const;

    int32_t lodError = 0;
    int32_t multiSample = 0;   // 0..100
    int32_t screenSize = 0;    // 0..kScreenSizeCount - 1
    int32_t soundVolume = 90;  // percent, each of the three
    int32_t speechVolume = 100;
    int32_t musicVolume = 55;
    bool seenIntroMovie = false;
    // One word: player names hold no blanks.
    String lastPlayerName;
    // Network play: "http=host:port" or "socks=host:port" (empty: the system's proxy),
    // and the web lobby's host (empty: the built-in one). Written only when set.
    String proxyServer;
    String lobbyHost;
};

// (percent / 100) to the power 1/4, in single precision; 0 for 0 % and 1 for 100 %.
float VolumeFactor(int32_t percent);
// One volume class's factor from its percentage, as the options screen's sliders move.
void SetEffectsVolume(int32_t percent);
void SetMusicVolume(int32_t percent);
void SetSpeechVolume(int32_t percent);
