// Puts the battlefield back as it was when play last started.
#include "ui/ConfirmRestoreLastPlayPointMenu.h"

#include "game/Game.h"
#include "world/Arena.h"

ConfirmRestoreLastPlayPointMenu::ConfirmRestoreLastPlayPointMenu()
    : ConfirmationMenu("ConfirmRestoreLastPlayPointMenu", "RestoreToLastPlayPoint?") {}

void ConfirmRestoreLastPlayPointMenu::OnYes() {
    const Game* game = CurrentGame();
    const bool tutorial = game != nullptr && game->modeName.EqualsNoCase("TutorialGame");
    if (gArena != nullptr) gArena->RestoreLastPlayPoint(!tutorial);
}

ConfirmRestoreLastPlayPointMenu& GetConfirmRestoreLastPlayPointMenu() {
    static ConfirmRestoreLastPlayPointMenu menu;
    return menu;
}
