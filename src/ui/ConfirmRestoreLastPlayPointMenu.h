#pragma once
// Puts the battlefield back as it was when play last started.
#include "ui/ConfirmationMenu.h"

class ConfirmRestoreLastPlayPointMenu : public ConfirmationMenu {
public:
    ConfirmRestoreLastPlayPointMenu();
    void OnYes() override;
};

ConfirmRestoreLastPlayPointMenu& GetConfirmRestoreLastPlayPointMenu();
