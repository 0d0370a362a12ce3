// The game menu.
#include "screens/GameMenu.h"

#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/PlayerRoster.h"
#include "screens/BackgroundScene.h"
#include "screens/FrontEndShell.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"

namespace {

const FrontEndMenu::Entry kEntries[] = {
    {"PlayNextMissionButton.tga", "ContinueCampaign", "PlayCampaign", kEventContinueCampaign},
    {"LabButton.tga", "TrainingLaboratory", "TrainingGrounds", kEventOpenTraining},
    {"ExitMenuButton.tga", "ReturnMainMenu", "ExitToMainMenu", kEventOpenMainMenu},
    {"StartNetworkGameButton.tga", "StartNetworkGame", "StartNetworkGame", kEventStartNetworkGame},
    {"JoinNetworkGameButton.tga", "JoinNetworkGame", "JoinNetworkGame", kEventJoinNetworkGame},
    {"CustomizeButton.tga", "Customization", "Customize", kEventEditPlayerInfo},
    {"ShowIntroMovieButton.tga", "ShowWinningMovie", "ShowWinningMovie", kEventShowWinningMovie},
};

const char* const kScenes[] = {"SmallSneaky",  "SmallStalkSideToSide", "SmallSideToSide", "RockAttack", "TreeHide",
                               "MissileChase", "SmallMainMenu",        "Winning2",        "Test"};

}  // namespace

GameMenu::GameMenu() : FrontEndMenu("GameMenu", kEntries, int32_t(std::size(kEntries))) { Initialize(); }

void GameMenu::SetButtonVisibility() {
    const ProfileFlags flags = GetFrontEndShell().GetProfileFlags();
    for (int32_t button : {kTraining, kStartNetworkGame, kJoinNetworkGame, kCustomize}) {
        SetItemShown(button, flags.missionMapTutorial);
    }
    SetItemShown(kShowWinningMovie, flags.seenWinningMovie);
    // The way back stays at the bottom of the ring, where a new player learnt it, as
    // the menu grows.
    if (items != nullptr) items->ringBottomItem = kBack;
}

void GameMenu::DrawContents() {
    const Player& local = GetLocalPlayer();
    for (int32_t chassis = 0; chassis < ChassisTable::kRowCount; ++chassis) ApplyOwnerColours(chassis, local);
    FrontEndMenu::DrawContents();
}

void GameMenu::StartScene() { GetBackgroundScene().Start(PickSceneName(kScenes, int32_t(std::size(kScenes)))); }

void GameMenu::Start(FrontEndTarget target, int32_t mission) {
    WindowManager& manager = GetWindowManager();
    manager.PushReturnWindow(this);
    manager.CloseAllWindows();
    GetFrontEndShell().Start(target, mission);
}

void GameMenu::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventContinueCampaign:
            Start(FrontEndTarget::kMission, GetFrontEndShell().GetProfileFlags().maxMission);
            break;
        case kEventOpenTraining: Start(FrontEndTarget::kTraining, 0); break;
        case kEventOpenMainMenu: GetWindowManager().ReturnToPreviousWindow(); break;
        case kEventEditPlayerInfo: Start(FrontEndTarget::kUpgradeWindow, 0); break;
        case kEventStartNetworkGame: Start(FrontEndTarget::kNetworkServer, 0); break;
        case kEventJoinNetworkGame: Start(FrontEndTarget::kNetworkClient, 0); break;
        case kEventShowWinningMovie: Start(FrontEndTarget::kWinningScreen, 0); break;
        default: FrontEndMenu::HandleCommand(event);
    }
}

GameMenu& GetGameMenu() {
    static GameMenu menu;
    return menu;
}
