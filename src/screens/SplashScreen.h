#pragma once
// The closing screen, reached from the title menu's exit button: the game's title over
// the animated scene and one button that ends the program.
#include "screens/SceneScreen.h"

class SplashScreen : public SceneScreen {
public:
    SplashScreen();

    void OnOpen() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

protected:
    void StartScene() override;
    bool HandleOtherInput(const InputEvent& input) override;
};

SplashScreen& GetSplashScreen();
// The music key of the screens that take every input.
bool TakeMusicKey(const InputEvent& input);
