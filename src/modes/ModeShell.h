#pragma once
// What the game modes ask of the program around them: the stack of modes, the options
// the menus keep and the profiler display. The shell registers it at start-up; without one
// a stand-in ignores the requests and answers that the intro was seen.
#include <cstdint>

class Game;

class ModeShell {
public:
    // Changes of the mode stack take effect at the end of the frame.
    virtual void PushGame(Game* game) = 0;
    virtual void PopGame() = 0;
    virtual bool IntroSeen() const = 0;
    // Marks the intro as seen and writes the options file at once.
    virtual void MarkIntroSeen() = 0;
    virtual void StepProfiler() = 0;

protected:
    ~ModeShell() = default;
};

void SetModeShell(ModeShell* shell);
// The registered shell, else a stand-in that ignores the requests.
ModeShell& GetModeShell();
