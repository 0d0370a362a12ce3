#pragma once
// Plays the intro scene; any key or click skips it and goes back to the screen before.
#include "ui/Window.h"

class IntroScreen : public Window {
public:
    IntroScreen();

    void OnOpen() override;
    void OnClose() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
};

IntroScreen& GetIntroScreen();
