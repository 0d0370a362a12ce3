#pragma once
// What the front-end screens ask of the program around them: the stored options, the
// player profiles and their folders, the game modes the game menu starts, the menu music
// and the end of the run. The shell implements it and registers it at start-up; with
// none registered the screens use a stand-in that keeps the options in memory and starts
// nothing.
#include <cstdint>

#include "core/Color.h"
#include "core/Point.h"
#include "core/String.h"

enum class OptionKey : int32_t { kLodError, kMultiSample, kScreenSize, kSoundVolume, kMusicVolume, kSpeechVolume };
constexpr int32_t kOptionKeyCount = 6;
// Full-screen sizes the options screen offers, the shell's table.
constexpr int32_t kScreenSizeCount = 15;

// What the game menu starts: a game mode, or a screen of one.
enum class FrontEndTarget : int32_t {
    kMission,
    kTraining,
    kNetworkServer,
    kNetworkClient,
    kUpgradeWindow,
    kWinningScreen,
};

// The parts of the current profile the game menu shows its buttons by.
struct ProfileFlags {
    bool missionMapTutorial = false;
    bool seenWinningMovie = false;
    int32_t maxMission = 0;
};

class FrontEndShell {
public:
    virtual int32_t GetOption(OptionKey key) const = 0;
    virtual void SetOption(OptionKey key, int32_t value) = 0;
    virtual String LastPlayerName() const = 0;
    virtual void SetLastPlayerName(const String& name) = 0;
    // A safe save of "Options.txt"; false when it failed (the old file stays).
    virtual bool WriteOptions() = 0;
    // The stored detail and volumes take effect again.
    virtual void ApplyOptions() = 0;
    // A detail or volume value takes effect at once without being stored; the other
    // options have no live effect.
    virtual void ApplyLive(OptionKey key, int32_t value) = 0;
    // Width and height of the full-screen size of the index (0..kScreenSizeCount - 1).
    virtual Point ScreenSize(int32_t index) const = 0;
    // Makes the profile's folders; on failure the language key of the message to show.
    virtual bool CreatePlayer(const String& name, String& failureKey) = 0;
    // The local player becomes the named profile, read from its file, with its folders.
    virtual void LoadProfile(const String& name) = 0;
    virtual ProfileFlags GetProfileFlags() const = 0;
    // Starts what the game menu asked for; the mission is the campaign index. A target
    // the program lacks is logged and the screen goes back to the menu.
    virtual void Start(FrontEndTarget target, int32_t mission) = 0;
    virtual void StartMenuMusic() = 0;
    virtual void StopMenuMusic() = 0;
    // The colour the frame is cleared with behind the screens.
    virtual void SetClearColour(Color colour) = 0;
    // Ends the main loop.
    virtual void Quit() = 0;

protected:
    ~FrontEndShell() = default;
};

void SetFrontEndShell(FrontEndShell* shell);
// The registered shell, else the in-memory stand-in.
FrontEndShell& GetFrontEndShell();
