#pragma once
// Opens the scenario list to load one.
#include "ui/ConfirmationMenu.h"

class ConfirmLoadScenarioMenu : public ConfirmationMenu {
public:
    ConfirmLoadScenarioMenu();
    void OnYes() override;
};

ConfirmLoadScenarioMenu& GetConfirmLoadScenarioMenu();
