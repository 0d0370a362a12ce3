#pragma once
// Clears the terrain paint through the paint tray's command.
#include "ui/ConfirmationMenu.h"

class ConfirmClearTerrainMenu : public ConfirmationMenu {
public:
    ConfirmClearTerrainMenu();
    void OnYes() override;
};

ConfirmClearTerrainMenu& GetConfirmClearTerrainMenu();
