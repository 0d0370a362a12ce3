// Deletes the named squad's file; the squad tray drops it.
#include "ui/ConfirmDeleteSquadMenu.h"

#include "ui/SavedFileTrays.h"
#include "world/SaveFilePaths.h"

ConfirmDeleteSquadMenu::ConfirmDeleteSquadMenu() : ConfirmationMenu("ConfirmDeleteSquadMenu", nullptr) {
    namedQuestionKey_ = "DeleteSquad?";
}

void ConfirmDeleteSquadMenu::OnYes() {
    SavedFileTrays* trays = GetSavedFileTrays();
    const bool listed = trays != nullptr && trays->ListsSquad(name);
    if (DeleteSavedFile(name, listed, SquadFilePath(name))) {
        trays->OnSquadDeleted(name);
    } else if (trays != nullptr) {
        trays->RefreshFromDisk();
    }
}

ConfirmDeleteSquadMenu& GetConfirmDeleteSquadMenu() {
    static ConfirmDeleteSquadMenu menu;
    return menu;
}
