#pragma once
// Deletes the named unit's file; the unit tray drops it and the squads lose it.
#include "ui/ConfirmationMenu.h"

class ConfirmDeleteVornMenu : public ConfirmationMenu {
public:
    ConfirmDeleteVornMenu();
    void OnYes() override;
};

ConfirmDeleteVornMenu& GetConfirmDeleteVornMenu();
