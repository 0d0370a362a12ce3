#pragma once
// Asks before a squad is saved over another of the same name.
#include "ui/ConfirmationMenu.h"

class ConfirmOverwriteSquadMenu : public ConfirmationMenu {
public:
    ConfirmOverwriteSquadMenu();
    void OnYes() override;
};

ConfirmOverwriteSquadMenu& GetConfirmOverwriteSquadMenu();
