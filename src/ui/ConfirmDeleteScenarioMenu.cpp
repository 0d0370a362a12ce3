// Deletes the named scenario's file; the scenario list reads its folder again.
#include "ui/ConfirmDeleteScenarioMenu.h"

#include "ui/SavedFileTrays.h"
#include "ui/ScenarioListBox.h"
#include "world/SaveFilePaths.h"

ConfirmDeleteScenarioMenu::ConfirmDeleteScenarioMenu() : ConfirmationMenu("ConfirmDeleteScenarioMenu", nullptr) {
    namedQuestionKey_ = "DeleteScenario?";
}

void ConfirmDeleteScenarioMenu::OnYes() {
    ScenarioListBox& list = GetScenarioListBox();
    DeleteSavedFile(name, list.FindEntryByName(name) >= 0, ScenarioFilePath(name));
    // Listed again from disk whether the file went or not.
    list.Refresh();
}

ConfirmDeleteScenarioMenu& GetConfirmDeleteScenarioMenu() {
    static ConfirmDeleteScenarioMenu menu;
    return menu;
}
