// Leaves the network game.
#include "ui/ConfirmDisconnectMenu.h"

#include "game/Event.h"

ConfirmDisconnectMenu::ConfirmDisconnectMenu() : ConfirmationMenu("ConfirmDisconnectMenu", "Disconnect?") {}

void ConfirmDisconnectMenu::OnYes() { PostEvent(kEventDisconnect); }

ConfirmDisconnectMenu& GetConfirmDisconnectMenu() {
    static ConfirmDisconnectMenu menu;
    return menu;
}
