// Deletes the named unit's file; the unit tray drops it and the squads lose it.
#include "ui/ConfirmDeleteVornMenu.h"

#include "ui/SavedFileTrays.h"
#include "world/SaveFilePaths.h"

ConfirmDeleteVornMenu::ConfirmDeleteVornMenu() : ConfirmationMenu("ConfirmDeleteVornMenu", nullptr) {
    namedQuestionKey_ = "DeleteVorn?";
}

void ConfirmDeleteVornMenu::OnYes() {
    SavedFileTrays* trays = GetSavedFileTrays();
    const bool listed = trays != nullptr && trays->ListsVorn(name);
    if (DeleteSavedFile(name, listed, VornFilePath(name))) {
        trays->OnVornDeleted(name);
    } else if (trays != nullptr) {
        trays->RefreshFromDisk();
    }
}

ConfirmDeleteVornMenu& GetConfirmDeleteVornMenu() {
    static ConfirmDeleteVornMenu menu;
    return menu;
}
