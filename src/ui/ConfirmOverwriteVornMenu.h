#pragma once
// Asks before a unit is saved over another saved unit of the same name.
#include "ui/ConfirmationMenu.h"

class ConfirmOverwriteVornMenu : public ConfirmationMenu {
public:
    ConfirmOverwriteVornMenu();
    void OnYes() override;
};

ConfirmOverwriteVornMenu& GetConfirmOverwriteVornMenu();
