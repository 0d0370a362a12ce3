#pragma once
// Paints random terrain through the paint tray's command.
#include "ui/ConfirmationMenu.h"

class ConfirmRandomizeTerrainMenu : public ConfirmationMenu {
public:
    ConfirmRandomizeTerrainMenu();
    void OnYes() override;
};

ConfirmRandomizeTerrainMenu& GetConfirmRandomizeTerrainMenu();
