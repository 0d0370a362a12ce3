#pragma once
// The player menu: make a new profile, pick an existing one, or go back to the title.
#include "screens/FrontEndMenu.h"

class PlayerMenu : public FrontEndMenu {
public:
    enum Button : int32_t { kCreateNewPlayer, kLoadPlayer, kBack };

    PlayerMenu();

    void HandleCommand(Event& event) override;

protected:
    void StartScene() override;
};

PlayerMenu& GetPlayerMenu();
