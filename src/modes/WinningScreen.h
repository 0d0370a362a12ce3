#pragma once
// The winning scene replayed from the game menu; the menu music pauses while it plays.
// Any key or click, or the scene's end, goes back to the menu.
#include "ui/Window.h"

class WinningScreen : public Window {
public:
    WinningScreen();

    void OnOpen() override;
    void OnClose() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;

    bool menuMusicWasPlaying = false;
};
