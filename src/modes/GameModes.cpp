// The game modes and the campaign's windows.
#include "modes/GameModes.h"

#include <algorithm>
#include <memory>

#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/LosingWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "engine/AssetPaths.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeShell.h"
#include "modes/SquadWindow.h"
#include "net/NetworkStartup.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

// Made after the window manager, so that the windows leave it before it goes, and after the
// losing window, which the modes' losing host leaves as they go.
std::unique_ptr<GameModes>& Modes() {
    GetWindowManager();
    GetLosingWindow();
    static std::unique_ptr<GameModes> modes;
    return modes;
}
constexpr int32_t kTextBoxHeight = 215;

}  // namespace

CampaignWindows::CampaignWindows(MissionGame& mission, MissionMapWindow& map, MissionBriefingWindow& briefing,
                                 WinningWindow& winning, TextBox& textBox)
    : mission_(mission), map_(map), briefing_(briefing), winning_(winning), textBox_(textBox) {}

void CampaignWindows::ShowPages(const Array<TextPage>& pages) {
    const IntRect screen = UiScreenRect();
    const int32_t width = screen.right - screen.left + 1 - 2 * (textBox_.frame.border + 4) + 1;
    textBox_.Resize(Point(width, kTextBoxHeight));
    textBox_.MoveTo(Point(0, 0));
    textBox_.lines.Clear();
    textBox_.waitForContinue = false;
    Array<StringArray> paragraphs;
    for (const TextPage& page : pages) paragraphs.Append(page.lines);
    textBox_.SetParagraphs(paragraphs);
}

void CampaignWindows::ShowCampaignMap() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&map_);
    manager.NotifyAll();
}

void CampaignWindows::ShowBriefing(const MissionSettings& settings) {
    briefing_.ClearPages();
    for (const TextPage& page : settings.briefingTexts) briefing_.AddPage(page);
    ShowPages(settings.briefingTexts);
    briefing_.giftUpgrades = settings.upgrades;
    briefing_.giftUnits = settings.secondUpgrades;
    briefing_.drawFlyBy = settings.drawFlyBy;
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&briefing_);
    manager.OpenWindow(&textBox_);
    manager.BringToFront(&textBox_);
    manager.NotifyAll();
}

void CampaignWindows::ShowSquadSelection(int32_t budget, int32_t squadCount) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    SquadWindow& squads = GetSquadWindow();
    squads.budget = budget;
    squads.launchedCost = 0;
    LaunchWindow& launch = GetLaunchWindow();
    launch.budget = budget;
    launch.missionName = mission_.MissionTitle();
    GetLaunchSquadTray().SetMaxSquadCount(squadCount);
    // The full-screen launch window opens first so that it stays behind the trays and the
    // squad window, which take the pointer before it.
    manager.OpenWindows({&launch, &GetVornTray(), &GetSquadTray(), &squads, &GetLaunchSquadTray()});
    // Laid out after the tray took its width for the squad count, so that it is centred.
    GetToolkitWindows().LayOutWindows();
}

void CampaignWindows::ShowResult(bool won, int32_t rewardBoosts) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    if (won) {
        winning_.rewardBoosts = rewardBoosts;
        winning_.ClearPages();
        for (const TextPage& page : mission_.settings.winningTexts) winning_.AddPage(page);
        ShowPages(mission_.settings.winningTexts);
        manager.OpenWindow(&winning_);
    } else {
        LosingWindow& losing = GetLosingWindow();
        if (losing.host != nullptr) losing.host->ShowLosingText();
        manager.CloseAllWindows();
        manager.OpenWindow(&losing);
    }
    manager.OpenWindow(&textBox_);
    manager.BringToFront(&textBox_);
    manager.NotifyAll();
}

GameModes::GameModes(Player& local, Player& computer)
    : training(local, computer),
      mission(local, computer),
      tutorial(local, computer, mission),
      map(mission, training, local),
      briefing(mission, training, local),
      winning(mission, local),
      campaignWindows(mission, map, briefing, winning, textBox),
      losingHost(mission, training, campaignWindows, textBox) {
    mission.SetScreens(&campaignWindows);
    mission.SetTutorialGame(&tutorial);
}

GameModes& CreateGameModes(ModeShell& shell) {
    SetModeShell(&shell);
    std::unique_ptr<GameModes>& modes = Modes();
    modes = std::make_unique<GameModes>(GetLocalPlayer(), GetOpponentPlayer());
    modes->mission.LoadCampaign(GetLanguageName());
    modes->map.Initialize();
    GetSquadWindow();
    return *modes;
}

GameModes* GetGameModes() { return Modes().get(); }

void DestroyGameModes() {
    Modes().reset();
    SetModeShell(nullptr);
}

bool StartFrontEndTarget(FrontEndTarget target, int32_t missionIndex) {
    GameModes* modes = GetGameModes();
    if (modes == nullptr) return false;
    WindowManager& manager = GetWindowManager();
    switch (target) {
        case FrontEndTarget::kMission:
            modes->mission.SetMission(std::min(missionIndex, modes->mission.campaign.Count() - 1));
            GetModeShell().PushGame(&modes->mission);
            return true;
        case FrontEndTarget::kTraining: GetModeShell().PushGame(&modes->training); return true;
        case FrontEndTarget::kNetworkServer: return StartNetworkGame(true);
        case FrontEndTarget::kNetworkClient: return StartNetworkGame(false);
        case FrontEndTarget::kWinningScreen: manager.OpenWindow(&modes->winningScreen); return true;
        case FrontEndTarget::kUpgradeWindow:
            if (Window* upgrades = manager.FindWindowByName("UpgradeWindow")) {
                manager.OpenWindow(upgrades);
                return true;
            }
            return false;
        default: return false;
    }
}
