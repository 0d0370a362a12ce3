#pragma once
// Deletes the named player's folder, with the profile and every unit, squad and scenario
// in it, once the player says yes.
#include "ui/ConfirmationMenu.h"

class ConfirmDeletePlayerMenu : public ConfirmationMenu {
public:
    ConfirmDeletePlayerMenu();
    void OnYes() override;
};

ConfirmDeletePlayerMenu& GetConfirmDeletePlayerMenu();
