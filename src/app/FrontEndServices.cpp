// The shell's side of the front-end screens.
#include "app/FrontEndServices.h"

#include "app/Application.h"
#include "app/PlayerFolders.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/BattleServices.h"
#include "core/Debugger.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/GameModes.h"
#include "modes/MenuGame.h"
#include "modes/UpgradeWindow.h"
#include "ui/TrayRecentLists.h"
#include "ui/WindowManager.h"

namespace {

const char* TargetName(FrontEndTarget target) {
    switch (target) {
        case FrontEndTarget::kMission: return "the mission game";
        case FrontEndTarget::kTraining: return "the training game";
        case FrontEndTarget::kNetworkServer: return "the network game (serving)";
        case FrontEndTarget::kNetworkClient: return "the network game (joining)";
        case FrontEndTarget::kUpgradeWindow: return "the upgrade window";
        case FrontEndTarget::kWinningScreen: return "the winning screen";
    }
    return "an unknown mode";
}

}  // namespace

int32_t* FrontEndServices::Field(OptionKey key) const {
    Options& options = application_.GetOptions();
    switch (key) {
        case OptionKey::kLodError: return &options.lodError;
        case OptionKey::kMultiSample: return &options.multiSample;
        case OptionKey::kScreenSize: return &options.screenSize;
        case OptionKey::kSoundVolume: return &options.soundVolume;
        case OptionKey::kMusicVolume: return &options.musicVolume;
        case OptionKey::kSpeechVolume: return &options.speechVolume;
    }
    return &options.lodError;
}

int32_t FrontEndServices::GetOption(OptionKey key) const { return *Field(key); }

void FrontEndServices::SetOption(OptionKey key, int32_t value) { *Field(key) = value; }

String FrontEndServices::LastPlayerName() const { return application_.GetOptions().lastPlayerName; }

void FrontEndServices::SetLastPlayerName(const String& name) { application_.GetOptions().lastPlayerName = name; }

bool FrontEndServices::WriteOptions() { return application_.GetOptions().Write(); }

void FrontEndServices::ApplyOptions() { application_.GetOptions().Apply(); }

void FrontEndServices::ApplyLive(OptionKey key, int32_t value) {
    switch (key) {
        case OptionKey::kLodError: SetLODError(float(value)); break;
        case OptionKey::kSoundVolume: SetEffectsVolume(value); break;
        case OptionKey::kMusicVolume: SetMusicVolume(value); break;
        case OptionKey::kSpeechVolume: SetSpeechVolume(value); break;
        case OptionKey::kMultiSample:
        case OptionKey::kScreenSize: break;
    }
}

Point FrontEndServices::ScreenSize(int32_t index) const { return ScreenSizeOf(index); }

bool FrontEndServices::CreatePlayer(const String& name, String& failureKey) {
    if (!::CreatePlayer(name, failureKey)) return false;
    TakeUpLocalPlayer();
    return true;
}

void FrontEndServices::LoadProfile(const String& name) {
    Player& local = GetLocalPlayer();
    local.SetName(name);
    if (!local.Load()) Debugger::Instance().Line((String("Front end: no profile file for ") + name).CStr());
    local.BuildColoredTextures();
    local.BuildWeaponButtonTextures();
    SetPlayerFolders(name);
    // Only now: before the player's folders are current, a re-save would rewrite the shipped units.
    ResaveSavedFiles();
    TakeUpLocalPlayer();
}

// Nothing shown or kept for the player before stays for the one just made or loaded.
void FrontEndServices::TakeUpLocalPlayer() {
    RefreshFileTrays();
    GetArenaWindow().ForgetCopiedVorn();
}

ProfileFlags FrontEndServices::GetProfileFlags() const {
    const Player& local = GetLocalPlayer();
    ProfileFlags flags;
    flags.missionMapTutorial = local.missionMapTutorial;
    flags.seenWinningMovie = local.seenWinningMovie;
    flags.maxMission = local.maxMission;
    return flags;
}

void FrontEndServices::Start(FrontEndTarget target, int32_t mission) {
    // The menu music pauses while the customise screen shows.
    if (target == FrontEndTarget::kUpgradeWindow) {
        UpgradeWindow& window = GetUpgradeWindow();
        window.openedFromMenus = true;
        GetWindowManager().OpenWindow(&window);
        return;
    }
    if (StartFrontEndTarget(target, mission)) return;
    Debugger::Instance().Line((String("Front end: not built yet: ") + TargetName(target)).CStr());
    // As when a mode ends: back to the menu that started it.
    GetWindowManager().ReturnToPreviousWindow();
}

void FrontEndServices::StartMenuMusic() {
    if (MenuGame* menu = GetMenuGame()) menu->StartMusic();
}

void FrontEndServices::StopMenuMusic() {
    if (MenuGame* menu = GetMenuGame()) menu->StopMusic();
}

void FrontEndServices::SetClearColour(Color colour) { application_.clearColour = colour; }

void FrontEndServices::Quit() { application_.GetWindow().PostQuit(); }
