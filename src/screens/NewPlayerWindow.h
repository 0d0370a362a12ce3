#pragma once
// The screen that asks for a new player's name over an idle scene.
#include "screens/SceneScreen.h"

class NewPlayerWindow : public SceneScreen {
public:
    NewPlayerWindow();

    void OnOpen() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

protected:
    void StartScene() override;
    bool HandleOtherInput(const InputEvent& input) override;
};

NewPlayerWindow& GetNewPlayerWindow();
