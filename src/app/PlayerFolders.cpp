// The player folders.
#include "app/PlayerFolders.h"

#include "audio/EffectSounds.h"
#include "core/Debugger.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "world/SaveFilePaths.h"

namespace {

const char* const kComputerPlayerName = "#AI";

bool Refuse(const char* key, String& failureKey) {
    failureKey = key;
    PlayEffectSound(LoadEffectSound(SoundPath("Illegal.ogg")), 1.0f, 0);
    return false;
}

}  // namespace

void SetDefaultFolders() { SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\"); }

void SetPlayerFolders(const String& playerName) {
    if (playerName == GetLanguageText("NoPlayerName") || playerName.EqualsNoCase(kComputerPlayerName)) {
        SetDefaultFolders();
        return;
    }
    const String base = "Players\\" + playerName;
    SetDataFolders(base + "\\Vorns\\", base + "\\Squads\\", base + "\\Scenarios\\");
}

bool CreatePlayer(const String& playerName, String& failureKey) {
    // The name becomes a folder: it must be one name, with nothing that leaves "Players".
    if (!sys::IsSafeName(playerName.CStr())) return Refuse("InvalidPlayer", failureKey);
    const String base = "Players\\" + playerName;
    if (sys::Exists(base.CStr())) return Refuse("PlayerAlreadyExists", failureKey);
    const String folders[] = {base, base + "\\Vorns", base + "\\Squads", base + "\\Scenarios"};
    for (const String& folder : folders) {
        if (sys::MakeDirectory(folder.CStr())) continue;
        Debugger::Instance().Line((String("Players: cannot make the folder ") + folder).CStr());
        return Refuse("InvalidPlayer", failureKey);
    }
    Player& local = GetLocalPlayer();
    local.Init();
    local.SetChassisChoices(0, 1, 2);
    local.SetName(playerName);
    local.SetColors(Color::FromRGBA(160, 100, 200, 255), Color::FromRGBA(255, 255, 255, 255), false);
    local.BuildColoredTextures();
    local.Save();
    SetPlayerFolders(playerName);
    return true;
}
