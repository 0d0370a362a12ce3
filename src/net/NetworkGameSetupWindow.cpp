#include "net/NetworkGameSetupWindow.h"

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "net/ServerBoostCountMenu.h"
#include "net/ServerGameRulesMenu.h"
#include "net/ServerScenarioListBox.h"
#include "net/ServerSquadCountMenu.h"
#include "net/ServerWaitMapAckWindow.h"
#include "ui/ServerBudgetEditBox.h"
#include "ui/ServerGameTimerEditBox.h"
#include "ui/ServerLaunchDelayEditBox.h"
#include "ui/ServerMeteorDelayEditBox.h"
#include "ui/SoccerBallCountMenu.h"
#include "ui/SoccerGoalCountMenu.h"
#include "ui/SoccerNetCountMenu.h"
#include "ui/UiServices.h"
#include "ui/VIPCountMenu.h"
#include "ui/WindowManager.h"

namespace {

using Self = NetworkGameSetupWindow;

String Counted(uint32_t value, const char* one, const char* many) {
    return String::FromInt(static_cast<int32_t>(value)) + " " + GetLanguageText(value == 1 ? one : many);
}

bool IsServing() { return GetNetworkGame() != nullptr && GetNetworkGame()->IsNetworkServer(); }

}  // namespace

NetworkGameSetupWindow::NetworkGameSetupWindow()
    : NetworkScreen("NetworkGameSetupWindow",
                    {{"NetSelectSquadsButton.tga", "SelectSquads", kEventExit},
                     {"NetDisconnectButton.tga", "Disconnect", kEventAskDisconnect},
                     {"NetBackButton.tga", "Back", kEventBack},
                     {"GameRulesLastVornStandingButton.tga", "GameRules", kEventSetServerGameRules},
                     {"GameRulesKingOfTheHillButton.tga", "GameRules", kEventSetServerGameRules},
                     {"GameRulesShootForTheStarsButton.tga", "GameRules", kEventSetServerGameRules},
                     {"GameRulesSoccerButton.tga", "GameRules", kEventSetServerGameRules},
                     {"NetScenarioButton.tga", "ScenarioName", kEventSetServerScenario},
                     {"NetSquadCountButton.tga", "SquadCount", kEventSetServerSquadCount},
                     {"NetBudgetButton.tga", "Budget", kEventSetServerBudget},
                     {"NetLaunchDelayButton.tga", "SquadSelectionDelay", kEventSetServerLaunchDelay},
                     {"NetBoostCountButton.tga", "BoostCount", kEventSetServerBoostCount},
                     {"NetMeteorDelayButton.tga", "MeteorDelay", kEventSetServerMeteorDelay},
                     {"NetGoalCountButton.tga", "SoccerGoalCount", kEventSetGoalCount},
                     {"NetBallCountButton.tga", "SoccerBallCount", kEventSetBallCount},
                     {"NetNetCountButton.tga", "SoccerNetCount", kEventSetNetCount},
                     {"NetWeaponsAllowedButton.tga", "WeaponsAllowed?", kEventToggleWeaponsAllowed},
                     {"NetGameTimerButton.tga", "GameTimer", kEventSetGameTimer},
                     {"NetVIPCountButton.tga", "VIPCount", kEventSetVIPCount}}) {}

void NetworkGameSetupWindow::OnOpen() {
    NetworkGame* game = Game();
    if (game != nullptr) {
        game->Session().PoseAllFigures();
        for (const auto& player : game->Session().Players()) player->ready = false;
        game->SetScoringSuspended(false);
        game->battleOver = 0;
        if (game->IsNetworkServer()) game->LoadServerSettings(GetLocalPlayer());
    }
    NetworkScreen::OnOpen();
    if (game != nullptr) game->SendGameSetup();
}

void NetworkGameSetupWindow::OnClose() {
    if (Game() != nullptr) Game()->Session().HideCountdown();
    NetworkScreen::OnClose();
}

void NetworkGameSetupWindow::PlaceItems() {
    if (controls == nullptr) return;
    const NetworkGame* game = Game();
    const uint32_t rules = game != nullptr ? game->MatchSettings().rules : 0;
    const bool serving = IsServing();
    for (int32_t i = kRules0; i < kItemCount; ++i) ShowButton(i, false);
    for (int32_t i = kRules0; i <= kRules3; ++i) PlaceButton(i, Point(left + 128, top + 128));
    ShowButton(kRules0 + static_cast<int32_t>(rules), true);
    static const std::vector<int32_t> kRuleItems[] = {{kMeteorDelay},
                                                      {kGameTimer, kWeaponsAllowed},
                                                      {kVIPCount, kMeteorDelay},
                                                      {kGoalCount, kBallCount, kNetCount, kWeaponsAllowed}};
    int32_t y = top + 212;
    for (int32_t item : kRuleItems[std::min<uint32_t>(rules, 3)]) {
        ShowButton(item, true);
        PlaceButton(item, Point(left + 152, y));
        y += kRowPixels;
    }
    const int32_t x = (left + right) / 2 + 128;
    PlaceButton(kScenario, Point(x, top + 128));
    y = top + 212;
    for (int32_t item : {kScenario, kSquadCount, kBudget, kLaunchDelay, kBoostCount}) {
        ShowButton(item, true);
        if (item != kScenario) {
            PlaceButton(item, Point(x, y));
            y += kRowPixels;
        }
    }
    ShowButton(kSelectSquads, serving);
    ShowButton(kBack, serving);
    ShowButton(kDisconnect, true);
    PlaceButton(kSelectSquads, BottomPlace(0));
    PlaceButton(kBack, BottomPlace(2));
    PlaceButton(kDisconnect, BottomPlace(serving ? 3 : 1));
}

bool NetworkGameSetupWindow::IsButtonActive(int32_t index) const { return IsServing() || index == kDisconnect; }

// The tutorial scripts name the start and disconnect items by meaning.
const char* NetworkGameSetupWindow::HighlightName(int32_t index) const {
    if (index == kSelectSquads) return "StartServer";
    if (index == kDisconnect) return "Cancel";
    return NetworkScreen::HighlightName(index);
}

String NetworkGameSetupWindow::ValueText(int32_t item) const {
    const NetworkGame* game = Game();
    if (game == nullptr) return String();
    const NetworkMatchSettings& s = game->MatchSettings();
    switch (item) {
        case kScenario: return String(s.scenario.c_str());
        case kBudget: return String::FromInt(s.budget) + " " + GetLanguageText("Credits");
        case kSquadCount: return Counted(s.squadCount, "Squad", "Squads");
        case kLaunchDelay: return Counted(s.launchDelay, "Second", "Seconds");
        case kBoostCount: return Counted(s.boostCount, "Boost", "Boosts");
        case kMeteorDelay:
            return s.meteorDelay == 0 ? GetLanguageText("NoMeteors") : Counted(s.meteorDelay, "Second", "Seconds");
        case kGameTimer: return Counted(s.gameTimer, "Second", "Seconds");
        case kGoalCount: return Counted(s.soccerGoalCount, "GoalToWin", "GoalsToWin");
        case kBallCount: return Counted(s.soccerBallCount, "Ball", "Balls");
        case kNetCount: return Counted(s.soccerNetCount, "Net", "Nets");
        case kVIPCount: return Counted(s.vipCount, "VIP", "VIPs");
        case kWeaponsAllowed: return GetLanguageText(s.weaponsAllowed ? "WeaponsAllowed" : "NoWeaponsAllowed");
        case kRules0:
        case kRules1:
        case kRules2:
        case kRules3: return GetLanguageText(NetworkGame::GameRulesKey(s.rules));
        default: return String();
    }
}

void NetworkGameSetupWindow::OpenAtPointer(Window& window) {
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&window);
    const Point pointer = GetMouse().position;
    window.MoveTo(pointer);
    manager.BringToFront(&window);
}

void NetworkGameSetupWindow::HandleCommand(Event& event) {
    NetworkGame* game = Game();
    if (game == nullptr) return;
    WindowManager& manager = GetWindowManager();
    auto open = [&manager](Window& window) {
        manager.OpenWindow(&window);
        manager.BringToFront(&window);
    };
    switch (event.type) {
        case kEventExit: StartSquadPhase(); return;
        case kEventBack:
            StoreSettings();
            game->Session().SendBackToWaiting();
            return;
        case kEventToggleWeaponsAllowed: game->SetWeaponsAllowed(game->MatchSettings().weaponsAllowed == 0); break;
        // At the rules picture, so that the ring of choices stands on the screen.
        case kEventSetServerGameRules: OpenAtPointer(GetServerGameRulesMenu()); return;
        case kEventSetServerScenario: OpenAtPointer(GetServerScenarioListBox()); return;
        case kEventSetServerSquadCount: OpenAtPointer(GetServerSquadCountMenu()); return;
        case kEventSetServerBudget: open(GetServerBudgetEditBox()); return;
        case kEventSetServerLaunchDelay: open(GetServerLaunchDelayEditBox()); return;
        case kEventSetServerBoostCount: OpenAtPointer(GetServerBoostCountMenu()); return;
        case kEventSetServerMeteorDelay: open(GetServerMeteorDelayEditBox()); return;
        case kEventSetGoalCount: OpenAtPointer(GetSoccerGoalCountMenu()); return;
        case kEventSetBallCount: OpenAtPointer(GetSoccerBallCountMenu()); return;
        case kEventSetNetCount: OpenAtPointer(GetSoccerNetCountMenu()); return;
        case kEventSetGameTimer: open(GetServerGameTimerEditBox()); return;
        case kEventSetVIPCount: OpenAtPointer(GetVIPCountMenu()); return;
        default: NetworkScreen::HandleCommand(event); return;
    }
    PlaceItems();
}

// Opening the set-up reads every setting from the host's profile, so they are stored
// whenever he leaves it for the squads or for the waiting screen, where players join. The
// profile is read first: only the settings go in, not what the session changed meanwhile.
void NetworkGameSetupWindow::StoreSettings() {
    Player& player = GetLocalPlayer();
    player.Load();
    Game()->SaveServerSettings(player);
    player.Save();
}

void NetworkGameSetupWindow::StartSquadPhase() {
    StoreSettings();
    // Sending moves the session on, which opens the map-acknowledgement screen and chat.
    Game()->SendScenario();
}

void NetworkGameSetupWindow::DrawScreen() {
    PlaceItems();
    DrawMessageLine(GetLanguageText(IsServing() ? "ServerSetup" : "WaitingForServerSetup"), 0);
    // The players stand in a row under the longest column of settings.
    constexpr int32_t kLongestColumn = 4;
    DrawRoster(top + 212 + (kLongestColumn - 1) * kRowPixels + kButtonPixels / 2 + 8, {});
    if (controls == nullptr) return;
    const float half = 0.5f * 0.75f * FontLineHeight();
    for (int32_t i = kRules0; i < kItemCount; ++i) {
        if (!IsButtonShown(i)) continue;
        const IntRect rect = controls->sprites[i]->GetScreenRect();
        // The button under the pointer is drawn half as large again: its text steps aside.
        const float hoverGrowth = i == controls->hovered ? 0.25f * static_cast<float>(rect.right - rect.left) : 0.0f;
        DrawUiText(ValueText(i), static_cast<float>(rect.left + 64) + hoverGrowth,
                   0.5f * static_cast<float>(rect.top + rect.bottom) - half, Color(0xFFFFFFFF), 0.75f);
    }
}

NetworkGameSetupWindow& GetNetworkGameSetupWindow() {
    static NetworkGameSetupWindow window;
    return window;
}
