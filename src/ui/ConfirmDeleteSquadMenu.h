#pragma once
// Deletes the named squad's file; the squad tray drops it.
#include "ui/ConfirmationMenu.h"

class ConfirmDeleteSquadMenu : public ConfirmationMenu {
public:
    ConfirmDeleteSquadMenu();
    void OnYes() override;
};

ConfirmDeleteSquadMenu& GetConfirmDeleteSquadMenu();
