#pragma once
// Leaves the network game.
#include "ui/ConfirmationMenu.h"

class ConfirmDisconnectMenu : public ConfirmationMenu {
public:
    ConfirmDisconnectMenu();
    void OnYes() override;
};

ConfirmDisconnectMenu& GetConfirmDisconnectMenu();
