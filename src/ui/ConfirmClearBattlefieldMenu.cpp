// Clears the battlefield, keeping edited units.
#include "ui/ConfirmClearBattlefieldMenu.h"

#include "world/Arena.h"

ConfirmClearBattlefieldMenu::ConfirmClearBattlefieldMenu()
    : ConfirmationMenu("ConfirmClearBattlefieldMenu", "ClearBattlefield?") {}

void ConfirmClearBattlefieldMenu::OnYes() {
    if (gArena != nullptr) gArena->ClearBattlefield(true);
}

ConfirmClearBattlefieldMenu& GetConfirmClearBattlefieldMenu() {
    static ConfirmClearBattlefieldMenu menu;
    return menu;
}
