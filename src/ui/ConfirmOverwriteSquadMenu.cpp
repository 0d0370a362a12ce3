// Asks before a squad is saved over another of the same name.
#include "ui/ConfirmOverwriteSquadMenu.h"

#include "ui/SquadNameEditBox.h"

ConfirmOverwriteSquadMenu::ConfirmOverwriteSquadMenu() : ConfirmationMenu("ConfirmOverwriteSquadMenu", nullptr) {
    namedQuestionKey_ = "OverwriteSquad?";
}

void ConfirmOverwriteSquadMenu::OnYes() { GetSquadNameEditBox().Save(); }

ConfirmOverwriteSquadMenu& GetConfirmOverwriteSquadMenu() {
    static ConfirmOverwriteSquadMenu menu;
    return menu;
}
