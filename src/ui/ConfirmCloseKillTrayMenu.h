#pragma once
// Empties the kill tray, its units going back to their pool.
#include "ui/ConfirmationMenu.h"

class ConfirmCloseKillTrayMenu : public ConfirmationMenu {
public:
    ConfirmCloseKillTrayMenu();
    void OnYes() override;
};

ConfirmCloseKillTrayMenu& GetConfirmCloseKillTrayMenu();
