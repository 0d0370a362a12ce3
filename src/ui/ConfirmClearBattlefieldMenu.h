#pragma once
// Clears the battlefield, keeping edited units.
#include "ui/ConfirmationMenu.h"

class ConfirmClearBattlefieldMenu : public ConfirmationMenu {
public:
    ConfirmClearBattlefieldMenu();
    void OnYes() override;
};

ConfirmClearBattlefieldMenu& GetConfirmClearBattlefieldMenu();
