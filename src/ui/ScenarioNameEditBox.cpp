// Asks for the name to save the battlefield's scenario under.
#include "ui/ScenarioNameEditBox.h"

#include "core/FileHelpers.h"
#include "game/Game.h"
#include "platform/sys/Paths.h"
#include "ui/ConfirmOverwriteScenarioMenu.h"
#include "ui/ScenarioListBox.h"
#include "ui/UiServices.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

ScenarioNameEditBox::ScenarioNameEditBox() : EditBox("ScenarioNameEditBox", "ScenarioName?") { Initialize(); }

void ScenarioNameEditBox::OnOpen() {
    text = gArena != nullptr && !IsTutorialGame() ? gArena->scenarioName : String();
    EditBox::OnOpen();
    Game* game = CurrentGame();
    if (game == nullptr) return;
    savedPaused = game->playerPaused != 0;
    game->playerPaused = 1;
    game->SetPaused(true);
}

bool ScenarioNameEditBox::IsValidText(const String& proposed) const { return sys::IsSafeName(proposed.CStr()); }

void ScenarioNameEditBox::Accept() {
    if (text.IsEmpty() || !sys::IsSafeName(text.CStr())) return;
    const bool otherName = gArena == nullptr || !text.EqualsNoCase(gArena->scenarioName.CStr());
    if (otherName && FileExists(ScenarioFilePath(text))) {
        AskToOverwrite(GetConfirmOverwriteScenarioMenu());
        return;
    }
    Save();
}

void ScenarioNameEditBox::Save() {
    if (gArena == nullptr || !gArena->SaveScenario(text)) ReportSaveFailed();
    Game* game = CurrentGame();
    if (game != nullptr) game->playerPaused = savedPaused ? 1 : 0;
}

ScenarioNameEditBox& GetScenarioNameEditBox() {
    static ScenarioNameEditBox box;
    return box;
}
