#pragma once
// Asks before a scenario is saved over another of the same name.
#include "ui/ConfirmationMenu.h"

class ConfirmOverwriteScenarioMenu : public ConfirmationMenu {
public:
    ConfirmOverwriteScenarioMenu();
    void OnYes() override;
    // The game's pause goes back to what it was before the name box opened.
    void OnNotYes(int32_t index) override;
};

ConfirmOverwriteScenarioMenu& GetConfirmOverwriteScenarioMenu();
