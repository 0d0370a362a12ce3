// Asks before a scenario is saved over another of the same name.
#include "ui/ConfirmOverwriteScenarioMenu.h"

#include "game/Game.h"
#include "ui/ScenarioListBox.h"
#include "ui/ScenarioNameEditBox.h"

ConfirmOverwriteScenarioMenu::ConfirmOverwriteScenarioMenu()
    : ConfirmationMenu("ConfirmOverwriteScenarioMenu", nullptr) {
    namedQuestionKey_ = "OverwriteScenario?";
}

void ConfirmOverwriteScenarioMenu::OnYes() {
    GetScenarioNameEditBox().Save();
    GetScenarioListBox().Refresh();
}

void ConfirmOverwriteScenarioMenu::OnNotYes(int32_t index) {
    Game* game = CurrentGame();
    if (index == kNo && game != nullptr) game->playerPaused = GetScenarioNameEditBox().savedPaused ? 1 : 0;
}

ConfirmOverwriteScenarioMenu& GetConfirmOverwriteScenarioMenu() {
    static ConfirmOverwriteScenarioMenu menu;
    return menu;
}
