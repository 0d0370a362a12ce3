#pragma once
// Deletes the named scenario's file; the scenario list reads its folder again.
#include "ui/ConfirmationMenu.h"

class ConfirmDeleteScenarioMenu : public ConfirmationMenu {
public:
    ConfirmDeleteScenarioMenu();
    void OnYes() override;
};

ConfirmDeleteScenarioMenu& GetConfirmDeleteScenarioMenu();
