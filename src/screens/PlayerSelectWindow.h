#pragma once
// The screen of the player list: the profiles over an idle scene, and an Exit button back
// to the player menu.
#include "screens/SceneScreen.h"

class PlayerSelectWindow : public SceneScreen {
public:
    PlayerSelectWindow();

    void OnOpen() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

protected:
    void StartScene() override;
    bool HandleOtherInput(const InputEvent& input) override;
};

PlayerSelectWindow& GetPlayerSelectWindow();
// The player screens' commands: Exit goes back to the player menu, nothing else acts.
void HandlePlayerScreenCommand(const Event& event);
