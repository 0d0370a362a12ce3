#pragma once
// The mode the front-end screens run in: it opens the title menu, or the screen a popped
// mode returns to, and draws the open windows and the pointer. It stands in for the menu
// game, which also plays the menu music, until that mode is part of the program.
#include "game/Game.h"

class FrontEndGame : public Game {
public:
    FrontEndGame();
    void Begin() override;
    void DrawFrame() override;
};
