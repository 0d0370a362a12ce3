#pragma once
// The menu game the shell runs under the front-end screens, and the wiring of the game
// modes into the shell: the mode stack, the intro option and the profiler display.
#include "modes/MenuGame.h"

class Application;

class FrontEndGame final : public MenuGame {};

// Makes the game modes and their windows, answering their requests through the
// application.
void RegisterGameModes(Application& application);
void UnregisterGameModes();
