// The folders the modes switch between.
#include "modes/ModeFolders.h"

#include "core/TextTable.h"
#include "game/Player.h"
#include "platform/sys/Paths.h"
#include "world/SaveFilePaths.h"

void UseDefaultFolders() { SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\"); }

void UsePlayerFolders(const Player& player) {
    if (player.name.EqualsNoCase(GetLanguageText("NoPlayerName").CStr()) ||
        !sys::IsSafeName(std::string_view(player.name.CStr()))) {
        UseDefaultFolders();
        return;
    }
    const String base = "Players\\" + player.name;
    SetDataFolders(base + "\\Vorns\\", base + "\\Squads\\", base + "\\Scenarios\\");
}

void UseTutorialFolders() { SetDataFolders("Tutorials\\Vorns\\", "Tutorials\\Squads\\", "Tutorials\\Scenarios\\"); }
