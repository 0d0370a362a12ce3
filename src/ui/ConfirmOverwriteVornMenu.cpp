// Asks before a unit is saved over another saved unit of the same name.
#include "ui/ConfirmOverwriteVornMenu.h"

#include "ui/VornNameEditBox.h"

ConfirmOverwriteVornMenu::ConfirmOverwriteVornMenu() : ConfirmationMenu("ConfirmOverwriteVornMenu", nullptr) {
    namedQuestionKey_ = "OverwriteVorn?";
}

void ConfirmOverwriteVornMenu::OnYes() { GetVornNameEditBox().Save(); }

ConfirmOverwriteVornMenu& GetConfirmOverwriteVornMenu() {
    static ConfirmOverwriteVornMenu menu;
    return menu;
}
