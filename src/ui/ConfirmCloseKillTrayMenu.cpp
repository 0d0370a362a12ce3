// Empties the kill tray, its units going back to their pool.
#include "ui/ConfirmCloseKillTrayMenu.h"

#include "ui/KillTray.h"
#include "ui/UiServices.h"

ConfirmCloseKillTrayMenu::ConfirmCloseKillTrayMenu() : ConfirmationMenu("ConfirmCloseKillTray", "DeleteKillTray?") {}

void ConfirmCloseKillTrayMenu::OnYes() {
    PlayUiSound("Delete.ogg");
    GetKillTray().ResetView();
}

ConfirmCloseKillTrayMenu& GetConfirmCloseKillTrayMenu() {
    static ConfirmCloseKillTrayMenu menu;
    return menu;
}
