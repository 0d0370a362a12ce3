#pragma once
// The mode under the front-end screens: opens the screen the player comes back to (the
// title menu, the intro on the first run, or the screen a finished mode returns to) and
// keeps menu songs playing, one after another, while the program has the focus.
#include "game/Game.h"

class StreamSound;

class MenuGame : public Game {
public:
    // Seconds of silence after a song before the next one starts.
    static constexpr float kSilenceBeforeNextSong = 3.0f;
    // Seconds after the program is active again before the music resumes.
    static constexpr float kResumeDelay = 1.0f;

    MenuGame();
    ~MenuGame() override;

    void Begin() override;
    void End() override;
    bool PreviewInputEvent(const InputEvent& input) override;
    void DrawFrame() override;
    bool HasMusicSwitch() const override { return true; }
    void OnMusicSwitched(bool musicOn) override;

    // A random menu song, unless one plays or the music is off.
    void StartMusic();
    void StopMusic();
    bool IsMusicPlaying() const { return song != nullptr; }

    StreamSound* song = nullptr;
    float silenceTime = 0.0f;
    float restartDelay = 0.0f;

protected:
    // Whether the song still sounds; a song without a sound manager has ended.
    virtual bool IsSongActive() const;
    virtual StreamSound* PlaySong();
    virtual void ReleaseSong();

private:
    void SuperviseMusic();
};

// The menu game of the program, or none before start-up made it.
MenuGame* GetMenuGame();
