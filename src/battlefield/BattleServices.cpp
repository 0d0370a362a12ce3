// The battle's windows as the toolkit below them sees them.
#include "battlefield/BattleServices.h"

#include <memory>

#include "battlefield/ArenaWindow.h"
#include "battlefield/ChassisPlacingMenu.h"
#include "battlefield/ControlTray.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/LosingWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectCountMenu.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/PaintTray.h"
#include "battlefield/ResultsWindow.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "battlefield/VornWindow.h"
#include "core/Debugger.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/SquadWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/KillTray.h"
#include "ui/Scoreboard.h"
#include "ui/WindowTray.h"
#include "units/VornSummary.h"
#include "world/Arena.h"

namespace {

std::unique_ptr<BattleServices>& Services() {
    static std::unique_ptr<BattleServices> services;
    return services;
}

VornTray& ListedVornTray() {
    VornTray& tray = GetVornTray();
    if (!tray.listed) tray.Reload();
    return tray;
}

SquadTray& ListedSquadTray() {
    SquadTray& tray = GetSquadTray();
    if (!tray.listed) tray.Reload();
    return tray;
}

}  // namespace

bool BattleServices::ListsVorn(const String& name) const { return ListedVornTray().FindSummary(name) >= 0; }

bool BattleServices::ListsSquad(const String& name) const { return ListedSquadTray().FindSummary(name) >= 0; }

void BattleServices::OnVornDeleted(const String& name) {
    // The units of a deleted design are unsaved from now on, so they can still be kept.
    if (gArena != nullptr) gArena->MarkVornsNamedEdited(name);
    ListedVornTray().DeleteVornFile(name);
    ListedSquadTray().RemoveVornFromSquads(name);
}

void BattleServices::OnSquadDeleted(const String& name) { ListedSquadTray().DeleteSquadFile(name); }

void BattleServices::RefreshFromDisk() {
    GetVornTray().Reload();
    GetVornTray().Refresh();
    GetSquadTray().Reload();
    GetSquadTray().Refresh();
}

void BattleServices::OnVornSaved(const String& name, bool resaveSquads) {
    VornTray& units = ListedVornTray();
    units.AddVornFile(name);
    units.MarkMostRecentlyUsed(name);
    if (!resaveSquads) return;
    Array<String> launchers;
    units.FindLaunchersOf(name, launchers);
    ListedSquadTray().ResaveSquadsUsing(name, launchers);
}

void BattleServices::SetNetworkCount(NetworkCount which, int32_t count) {
    if (NetworkGame* game = GetNetworkGame()) game->SetNetworkCount(which, count);
    Player& player = GetLocalPlayer();
    switch (which) {
        case kVIPs: player.serverVipCount = count; return;
        case kSoccerBalls: player.serverBallCount = count; return;
        case kSoccerGoals: player.serverGoalCount = count; return;
        case kSoccerNets: player.serverNetCount = count; return;
    }
}

void BattleServices::SetObjectVariant(ObjectVariant which, int32_t index) {
    ObjectTray& tray = GetObjectTray();
    (which == kTree ? tray.treeVariant : tray.rockVariant) = index;
    tray.Refresh();
}

Player* BattleServices::PlacingPlayer() { return ArenaWindow::PlacingPlayer(); }

void BattleServices::MarkVornUsed(const String& unitName) { GetVornTray().MarkMostRecentlyUsed(unitName); }

void BattleServices::ResetVornActionQueues() { ::ResetVornActionQueues(); }

Vorn* BattleServices::EditedVorn() {
    VornWindow& editor = GetVornWindow();
    return editor.open ? editor.vorn : nullptr;
}

void BattleServices::RefreshVornEditor() { GetVornWindow().Refresh(); }

void BattleServices::AddSquadMembers(const String& unitName, int32_t count, float eventValue) {
    // The squad window gave the menu the unit's radius as its value.
    GetSquadWindow().PlaceUnits(unitName, count, eventValue);
}

bool BattleServices::ReadVornCost(const String& unitName, int32_t& cost) {
    VornSummary summary;
    if (!summary.Load(unitName)) return false;
    cost = summary.cost;
    return true;
}

int32_t BattleServices::LaunchBudget() { return GetLaunchWindow().budget; }

int32_t BattleServices::LaunchedCost() { return GetLaunchSquadTray().TotalCost(); }

void BattleServices::PopGame() {
    if (popGame_) popGame_();
}

void BattleServices::EnterNetworkState(int32_t state) {
    Debugger::Instance().Line((String("No network game to enter state ") + String::FromInt(state)).CStr());
}

void CreateBattleWindows(std::function<void()> popGame) {
    std::unique_ptr<BattleServices>& services = Services();
    services = std::make_unique<BattleServices>(std::move(popGame));
    SetSavedFileTrays(services.get());
    SetCountMenuHost(services.get());
    SetErrorBoxActions(services.get());
    GetArenaWindow();
    GetMiniMap();
    GetControlTray();
    GetObjectTray();
    GetVornTray();
    GetKillTray();
    GetSquadTray();
    GetPaintTray();
    GetScoreboard();
    GetSelectionTray();
    GetObjectCountMenu();
    GetChassisPlacingMenu();
    GetLaunchWindow();
    GetLaunchSquadTray();
    GetResultsWindow();
    GetLosingWindow();
    GetDebugWindow();
    GetVornWindow();
    GetWindowTray().AddKnownWindows();
}

void ResaveSavedFiles() {
    GetVornTray().ResaveAllVorns();
    GetSquadTray().ResaveAllSquads();
}
