#include "net/NetworkGame.h"

#include <algorithm>
#include <cmath>

#include "core/FileHelpers.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeFolders.h"
#include "net/LobbyRegistration.h"
#include "net/ServerScenarioListBox.h"
#include "platform/sys/Random.h"
#include "ui/ConfirmDisconnectMenu.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/Scoreboard.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Debris.h"
#include "world/ExplosionField.h"
#include "world/Goal.h"
#include "world/Meteor.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"
#include "world/ScorchMark.h"
#include "world/SoccerBall.h"
#include "world/Terrain.h"

namespace {

constexpr int32_t kEscapeKey = 27;
constexpr int32_t kServerOnlyControl = 12;

bool IsIgnoredCommand(int32_t type) {
    static const int32_t ignored[] = {
        kEventPlaceNewObject,
        kEventOpenObjectCountMenu,
        kEventBeginTranslateObject,
        kEventTranslateObject,
        kEventEndTranslateObject,
        kEventBeginRotateObject,
        kEventRotateObject,
        kEventEndRotateObject,
        kEventDeleteObject,
        kEventPlaceNewVorn,
        kEventOpenVornCountMenu,
        kEventEditVorn,
        kEventCopyVorn,
        kEventPasteVorn,
        kEventPlaceNewChassis,
        kEventOpenChassisCountMenu,
        kEventPlaceNewSquad,
        kEventBeginSelectGroup,
        kEventEndSelectGroup,
        kEventToggleSelectedObject,
        kEventToggleVornDebug,
        kEventPause,
        kEventUnpause,
        kEventVornTeamFriend,
        kEventVornTeamEnemy,
        kEventPaint,
        kEventAddLaunchPoint,
        kEventClearLaunchPoints,
        kEventAddFlyByPoint,
        kEventClearFlyByPoints,
        kEventTestFlyByPoints,
        kEventRestoreKillTrayVorn,
    };
    return std::find(std::begin(ignored), std::end(ignored), type) != std::end(ignored);
}

void OpenInFront(Window& window) {
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&window);
    windows.BringToFront(&window);
}

bool IsConfirmationOpen() {
    const WindowManager& windows = GetWindowManager();
    return windows.IsOpen(&GetConfirmDisconnectMenu()) || windows.IsOpen(&GetConfirmEscapeMenu());
}

// The columns that score under each rule set; the name always shows.
constexpr bool kScoreboardColumns[4][Scoreboard::kColumnCount] = {
    // Name  Alive  Kills  Deaths Goals  Height VIPs
    {true, true, true, true, false, false, false},
    {true, false, false, false, false, true, false},
    {true, false, false, false, false, false, true},
    {true, false, false, false, true, false, false},
};

}  // namespace

NetworkGame::NetworkGame() : networker_(*this) {
    modeName = "NetworkGame";
    SetNetworkSettings(this);
}

NetworkGame::~NetworkGame() {
    if (GetNetworkSettings() == this) SetNetworkSettings(nullptr);
}

bool NetworkGame::Serve(int32_t port) {
    networker_.SetLocalPlayer(&GetLocalPlayer(), GetLocalPlayer().name.CStr(), GetLocalPlayer().primaryColor.argb,
                              GetLocalPlayer().trimColor.argb);
    networker_.SetPort(port);
    if (!networker_.StartServer()) {
        if (screens_ != nullptr) screens_->ShowServeError("UnableToStartServer", networker_.ServeError(), port);
        return false;
    }
    chosenBudget_ = GetLocalPlayer().serverBudget;
    FitBudget(false);
    PlayersChanged();
    networker_.SetState(SessionState::ServerWaiting);
    return true;
}

void NetworkGame::Join() {
    networker_.SetLocalPlayer(&GetLocalPlayer(), GetLocalPlayer().name.CStr(), GetLocalPlayer().primaryColor.argb,
                              GetLocalPlayer().trimColor.argb);
    networker_.StartClient();
    networker_.SetState(SessionState::ClientEntering);
}

// --- the mode

void NetworkGame::LeaveMode() {
    if (leaveMode_) leaveMode_();
}

void NetworkGame::End() {
    if (networker_.IsClientRunning()) networker_.StopClient();
    if (networker_.IsServerRunning()) networker_.StopServer();
    networker_.DiscardPending();
    SetAllWeaponsAllowed(true);
    // The server may have dressed the player in other colours for the game: the profile's
    // come back, on the units and on the interface's pictures alike.
    Player& local = GetLocalPlayer();
    local.networkName = String();
    local.Load();
    PaintLocalPlayer();
    if (gArena != nullptr) {
        gArena->ClearBattlefield(false);
        // Peers that meet again count their ids from the same start.
        gArena->RenumberObjects();
    }
    DeleteNetworkUnitFiles();
    StartMeteorShower(false);
    GetPlayerRoster().networkPlayers.Clear();
    Game::End();
}

void NetworkGame::PaintLocalPlayer() {
    Player& local = GetLocalPlayer();
    local.ApplyColors();
    local.BuildColoredTextures();
    local.BuildWeaponButtonTextures();
}

void NetworkGame::DrawFrame() {
    DrawWindows();
    if (settings_.rules == kKingOfTheHill && IsPlaying()) {
        const float timer = static_cast<float>(settings_.gameTimer);
        DrawTimeLeft(std::clamp(timer - (clock + frameTime), 0.0f, timer));
    }
    GetMouse().Draw();
}

void NetworkGame::HandleInputEvents(const Array<InputEvent>& inputs) {
    if (networker_.IsClientRunning() || networker_.IsServerRunning()) {
        networker_.Update();
        networker_.FlushIfFull(true);
    }
    Game::HandleInputEvents(inputs);
}

bool NetworkGame::PreviewInputEvent(const InputEvent& input) {
    if (input.IsKeyDown(kEscapeKey)) escapeAnswersMenu_ = IsConfirmationOpen();
    return false;
}

bool NetworkGame::PostviewInputEvent(const InputEvent& input) {
    if (!input.IsKeyDown(kEscapeKey)) return false;
    // Escape closed a question; asking again at once would keep it on screen for ever.
    if (escapeAnswersMenu_) {
        escapeAnswersMenu_ = false;
        return true;
    }
    if (networker_.State() == SessionState::ClientEntering) {
        // A connection still being made is given up; the join screen stays.
        if (networker_.Joining()) networker_.StopClient();
        return true;
    }
    Event* event = NewEvent();
    event->type = kEventOpenDisconnectMenu;
    PostEvent(event);
    return true;
}

void NetworkGame::HandleEvent(Event& event) {
    if (IsIgnoredCommand(event.type)) return;
    switch (event.type) {
        case kEventEscape:
            // Once the results are out the battle has nothing more to end.
            if (IsNetworkServer() && IsPlaying() && !battleOver) EndGame();
            return;
        case kEventOpenEscapeMenu: {
            ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
            menu.title = GetLanguageText("AbortGame?");
            OpenInFront(menu);
            return;
        }
        case kEventOpenDisconnectMenu: OpenInFront(GetConfirmDisconnectMenu()); return;
        case kEventDisconnect:
            networker_.DiscardPending();
            RestoreNetworkFolders();
            LeaveMode();
            return;
        case kEventSetNetworkSignal1:
        case kEventSetNetworkSignal2: {
            // The player travels as its wire address: ip in x, port in y.
            Player* player = PlayerAt({static_cast<uint32_t>(event.point.x), static_cast<uint16_t>(event.point.y)});
            if (player == nullptr) return;
            const int32_t which = event.type == kEventSetNetworkSignal1 ? 0 : 1;
            if (which == 0)
                player->SetSignal1(event.value != 0);
            else
                player->SetSignal2(event.value != 0);
            OnSignalChanged(player, which, static_cast<uint8_t>(event.value != 0));
            return;
        }
        default: Game::HandleEvent(event); return;
    }
}

void NetworkGame::AdvanceClock() {
    Game::AdvanceClock();
    if (clockCorrection_ <= 0.0f) return;
    const float take = std::min(frameTime, clockCorrection_);
    clockCorrection_ -= take;
    frameTime -= take;
}

bool NetworkGame::IsControlAllowed(int32_t control) const {
    if (control >= 4 && control <= 7) return true;
    return control == kServerOnlyControl && IsNetworkServer();
}

void NetworkGame::SetScoringSuspended(bool suspended) {
    Game::SetScoringSuspended(suspended);
    if (!suspended) return;
    battleOver = 1;
    // Queued actions, fire included, would otherwise play out through the end delay.
    ForEachUnit([](Vorn& unit) { unit.ResetPatternState(); });
    IdleUnits();
    DeleteNetworkUnitFiles();
}

void NetworkGame::ForEachUnit(const std::function<void(Vorn&)>& visit) const {
    if (gArena == nullptr) return;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn && !object->removed) visit(*static_cast<Vorn*>(object));
    }
}

// After the end every unit stands in its winning or losing pose, including one that a
// late event set acting again.
void NetworkGame::IdleUnits() {
    ForEachUnit([](Vorn& unit) {
        if (unit.currentAction != nullptr) unit.ResetPatternState();
        if (unit.endPoseSet == 0) unit.IdleWithoutPattern();
    });
}

bool NetworkGame::IsPlaying() const {
    return networker_.State() == SessionState::ServerPlaying || networker_.State() == SessionState::ClientPlaying;
}

// --- the rules

void NetworkGame::Update() {
    if (gArena != nullptr && IsNetworkClient()) {
        for (WorldObject* object : gArena->Objects()) {
            if (object->kind == kKindVorn) static_cast<Vorn*>(object)->actionBegunThisFrame = 0;
        }
    }
    if (IsPlaying()) StepRules();
    if (!battleOver && IsPlaying()) TellWhenOut();
    if (battleOver && IsPlaying()) IdleUnits();
    if (networker_.State() == SessionState::ServerPlaying) ReportAirborneChanges();
    Game::Update();
}

void NetworkGame::StepRules() {
    if (battleOver) {
        StepEndDelay();
        return;
    }
    const bool serving = IsNetworkServer();
    switch (settings_.rules) {
        case kLastVornStanding:
        case kShootForTheStars:
            if (serving && FewerThanTwoScoring(settings_.rules == kShootForTheStars)) EndGame();
            return;
        case kKingOfTheHill:
            timeLeft_ -= frameTime;
            if (timeLeft_ <= nextHillUpdate_ - 1.0f) {
                nextHillUpdate_ = timeLeft_;
                UpdateGreatestHeights();
            }
            if (serving && timeLeft_ <= 0.0f) EndGame();
            return;
        case kSoccer:
            if (!serving) return;
            SpawnMissingBalls();
            for (const auto& player : networker_.Players()) {
                if (player->record != nullptr &&
                    player->record->goalCount >= static_cast<int32_t>(settings_.soccerGoalCount)) {
                    EndGame();
                    return;
                }
            }
            return;
        default: return;
    }
}

void NetworkGame::TellWhenOut() {
    if (toldOut_ || gArena == nullptr) return;
    const SessionPlayer* local = networker_.LocalPlayer();
    if (local == nullptr || local->record == nullptr) return;
    // Every unit on the field counts: a client's copies of the units are not squad members.
    bool unitsLeft = false;
    ForEachUnit([&](Vorn& unit) { unitsLeft = unitsLeft || unit.owner == local->record; });
    if (unitsLeft) return;
    toldOut_ = true;
    ShowStatus(GetLanguageText("NoVornsLeft").CStr());
}

void NetworkGame::StepEndDelay() {
    endDelay_ -= frameTime;
    if (endDelay_ > 0.0f) return;
    endDelay_ = 0.0f;
    networker_.SetState(IsNetworkServer() ? SessionState::ServerResults : SessionState::ClientResults);
}

bool NetworkGame::FewerThanTwoScoring(bool vipsOnly) const {
    if (gArena == nullptr) return false;
    int scoring = 0;
    for (const auto& player : networker_.Players()) {
        if (player->record != nullptr && gArena->CountPlayerVorns(player->record, nullptr, vipsOnly) > 0) ++scoring;
    }
    return scoring < 2;
}

void NetworkGame::SpawnMissingBalls() {
    if (gArena == nullptr) return;
    int inPlay = gArena->CountObjectsOfKind(kKindSoccerBall);
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn && static_cast<Vorn*>(object)->carryingBall) ++inPlay;
    }
    for (; inPlay < static_cast<int>(settings_.soccerBallCount); ++inPlay) {
        SoccerBall* ball = gArena->NewSoccerBall();
        ball->AssignId(*gArena);
        gArena->AddObject(ball);
        const Vector3 spot = gArena->RandomPoint();
        ball->PlaceAt(gArena->GroundPoint(spot.x, spot.y));
        OnBallSpawned(ball);
    }
}

void NetworkGame::UpdateGreatestHeights() {
    for (const auto& player : networker_.Players()) player->greatestHeight = kLowestHeight;
    if (gArena != nullptr) {
        for (WorldObject* object : gArena->Objects()) {
            if (object->kind != kKindVorn) continue;
            auto* unit = static_cast<Vorn*>(object);
            for (const auto& player : networker_.Players()) {
                if (player->record == unit->owner)
                    player->greatestHeight = std::max(player->greatestHeight, unit->position.z);
            }
        }
    }
    // The scoreboard and the results screen read the heights from the records.
    for (const auto& player : networker_.Players()) {
        if (player->record != nullptr) player->record->greatestHeight = player->greatestHeight;
    }
}

void NetworkGame::SetupScoreboard() {
    Scoreboard& scoreboard = GetScoreboard();
    scoreboard.ResetStatistics();
    const bool* shown = kScoreboardColumns[std::min<uint32_t>(settings_.rules, kSoccer)];
    std::copy(shown, shown + Scoreboard::kColumnCount, scoreboard.columnShown);
    scoreboard.Refresh();
}

float NetworkGame::ScoreOf(const SessionPlayer& player) const {
    switch (settings_.rules) {
        case kKingOfTheHill: return player.greatestHeight;
        case kShootForTheStars:
            return gArena != nullptr ? static_cast<float>(gArena->CountPlayerVorns(player.record, nullptr, true))
                                     : 0.0f;
        case kSoccer: return static_cast<float>(player.record->goalCount);
        default:
            return gArena != nullptr ? static_cast<float>(gArena->CountPlayerVorns(player.record, nullptr, false))
                                     : 0.0f;
    }
}

void NetworkGame::EndGame() {
    if (settings_.rules == kKingOfTheHill) UpdateGreatestHeights();
    float best = -1e30f;
    for (const auto& player : networker_.Players()) {
        if (player->record != nullptr) best = std::max(best, ScoreOf(*player));
    }
    NetworkEvent& results = outgoing_;
    results.Reset();
    results.kind = NetworkEventKind::Results;
    for (const auto& player : networker_.Players()) {
        Player* record = player->record;
        if (record == nullptr) continue;
        record->won = ScoreOf(*player) == best ? 1 : 0;
        record->vornsAlive = gArena != nullptr ? gArena->CountPlayerVorns(record, nullptr, false) : 0;
        results.results.push_back({player->address, record->won, static_cast<uint32_t>(std::max(record->kills, 0)),
                                   static_cast<uint32_t>(std::max(record->losses, 0)),
                                   static_cast<uint32_t>(std::max(record->goalCount, 0)),
                                   static_cast<uint32_t>(std::max(record->vornsAlive, 0)), player->greatestHeight});
    }
    SetScoringSuspended(true);
    endDelay_ = kEndDelaySeconds;
    Send(results, clock + frameTime);
    PlaySound(GetLocalPlayer().won ? "Win.ogg" : "Lose.ogg");
    GetWindowManager().CloseWindow(&GetConfirmEscapeMenu());
    ReleaseDelayedEvents();
}

void NetworkGame::ApplyBattleRules() {
    SetAllWeaponsAllowed(true);
    if (settings_.rules == kKingOfTheHill || settings_.rules == kSoccer) {
        meteorsEnabled = 0;
        if (!settings_.weaponsAllowed) {
            SetAllWeaponsAllowed(false);
            weaponAllowed[kWeaponPropeller] = 1;
            if (settings_.rules == kSoccer) weaponAllowed[kWeaponKicker] = 1;
        }
    } else {
        meteorsEnabled = settings_.meteorDelay > 0 ? 1 : 0;
        meteorDelay = static_cast<float>(settings_.meteorDelay);
    }
    StartMeteorShower(meteorsEnabled != 0);
}

// Only the server's shower drops meteors; a client is sent each one.
void NetworkGame::StartMeteorShower(bool on) {
    if (gArena == nullptr) return;
    gArena->ResetMeteorShower();
    gArena->meteorShowerOn = on;
    gArena->meteorStartTime = meteorDelay;
}

// --- the settings

int32_t NetworkGame::PlayerCount() const { return static_cast<int32_t>(networker_.Players().size()); }

int32_t NetworkGame::BudgetPerPlayer() const {
    return NetworkMatchSettings::BudgetPerPlayer(totalBudget_, PlayerCount());
}

void NetworkGame::SettingsChanged() {
    FitBudget(false);
    SendGameSetup();
}

void NetworkGame::FitBudget(bool tell) {
    const int32_t smallest = NetworkMatchSettings::kSmallestBudget;
    chosenBudget_ = std::clamp(chosenBudget_, smallest, std::max(smallest, totalBudget_));
    const int32_t before = settings_.budget;
    settings_.budget = chosenBudget_;
    settings_.Clamp(totalBudget_, PlayerCount());
    const int32_t now = settings_.budget;
    if (!tell || now == before || !IsNetworkServer()) return;
    const String credits = String::FromInt(now) + GetLanguageText("BudgetLimits2");
    if (now >= chosenBudget_) {
        ShowStatus((GetLanguageText("BudgetBack") + credits).CStr());
        return;
    }
    // Below the host's choice still: down as players join, up as they leave.
    const char* const moved = now < before ? "BudgetCameDown2" : "BudgetWentUp";
    ShowStatus((GetLanguageText("BudgetCameDown") + String::FromInt(PlayerCount()) + GetLanguageText(moved) + credits)
                   .CStr());
}

void NetworkGame::SendGameSetup() {
    if (IsNetworkServer()) networker_.SendGameSetup(settings_);
}

void NetworkGame::SendScenario() {
    std::string terrain;
    if (gArena != nullptr) {
        LoadChosenScenario();
        gArena->RemoveObjectsOfKind(kKindVorn);
        gArena->RemoveObjectsOfKind(kKindSoccerBall);
        if (settings_.rules != kSoccer) gArena->RemoveObjectsOfKind(kKindGoal);
        StringStream stream;
        gArena->GetTerrain().Save(stream);
        terrain.assign(stream.Text(), static_cast<size_t>(stream.TextLength()));
    }
    networker_.SendScenario(terrain);
}

// The player's own scenario of that name, else the game's.
void NetworkGame::LoadChosenScenario() {
    const String name(settings_.scenario.c_str());
    if (FileExists(ScenarioFilePath(name)) || !FileExists(String(ServerScenarioListBox::kShippedFolder) + name + ".SCN")) {
        gArena->LoadScenario(name);
        return;
    }
    UseDefaultFolders();
    gArena->LoadScenario(name);
    UsePlayerFolders(GetLocalPlayer());
}

void NetworkGame::SetNetworkCount(int32_t which, int32_t count) {
    const auto value = static_cast<uint32_t>(std::max(count, 0));
    switch (which) {
        case 0: SetVIPCount(value); return;
        case 1: SetSoccerBallCount(value); return;
        case 2: SetSoccerGoalCount(value); return;
        default: SetSoccerNetCount(value); return;
    }
}

void NetworkGame::SetScenario(const std::string& name) {
    settings_.scenario = name;
    SettingsChanged();
}

void NetworkGame::SetBudget(int32_t budget) {
    chosenBudget_ = budget;
    SettingsChanged();
}

void NetworkGame::SetSquadCount(uint32_t count) {
    settings_.squadCount = count;
    SettingsChanged();
}

void NetworkGame::SetLaunchDelay(int32_t seconds) {
    settings_.launchDelay = static_cast<uint32_t>(std::max(seconds, 0));
    SettingsChanged();
}

void NetworkGame::SetMeteorDelay(int32_t seconds) {
    settings_.meteorDelay = static_cast<uint32_t>(std::max(seconds, 0));
    SettingsChanged();
}

void NetworkGame::SetGameRules(uint32_t rules) {
    settings_.rules = rules;
    SettingsChanged();
}

void NetworkGame::SetSoccerGoalCount(uint32_t count) {
    settings_.soccerGoalCount = count;
    SettingsChanged();
}

void NetworkGame::SetSoccerBallCount(uint32_t count) {
    settings_.soccerBallCount = count;
    SettingsChanged();
}

void NetworkGame::SetSoccerNetCount(uint32_t count) {
    settings_.soccerNetCount = count;
    SettingsChanged();
}

void NetworkGame::SetGameTimer(int32_t seconds) {
    settings_.gameTimer = static_cast<uint32_t>(std::max(seconds, 0));
    FitBudget(false);
    timeLeft_ = static_cast<float>(settings_.gameTimer);
    nextHillUpdate_ = timeLeft_ + 1.0f;
    SendGameSetup();
}

void NetworkGame::SetVIPCount(uint32_t count) {
    settings_.vipCount = count;
    SettingsChanged();
}

void NetworkGame::SetWeaponsAllowed(bool allowed) {
    settings_.weaponsAllowed = allowed ? 1 : 0;
    SettingsChanged();
}

void NetworkGame::SetBoostCount(uint32_t count) {
    settings_.boostCount = count;
    SettingsChanged();
}

void NetworkGame::ApplySettings(const NetworkMatchSettings& settings) {
    settings_ = settings;
    settings_.Clamp(totalBudget_, PlayerCount());
    timeLeft_ = static_cast<float>(settings_.gameTimer);
    nextHillUpdate_ = timeLeft_ + 1.0f;
    PlaySound("MouseDown.ogg");
}

void NetworkGame::LoadServerSettings(const Player& player) {
    NetworkMatchSettings settings;
    settings.scenario = player.serverScenarioName.CStr();
    settings.budget = player.serverBudget;
    settings.squadCount = static_cast<uint32_t>(std::max(player.serverMaxSquadCount, 0));
    settings.launchDelay = static_cast<uint32_t>(std::max(player.serverLaunchDelay, 0));
    settings.meteorDelay = static_cast<uint32_t>(std::max(player.serverMeteorDelay, 0));
    settings.rules = static_cast<uint32_t>(std::max(player.serverGameRules, 0));
    settings.soccerGoalCount = static_cast<uint32_t>(std::max(player.serverGoalCount, 0));
    settings.soccerBallCount = static_cast<uint32_t>(std::max(player.serverBallCount, 0));
    settings.soccerNetCount = static_cast<uint32_t>(std::max(player.serverNetCount, 0));
    settings.gameTimer = static_cast<uint32_t>(std::max(player.serverGameTimer, 0));
    settings.vipCount = static_cast<uint32_t>(std::max(player.serverVipCount, 0));
    settings.weaponsAllowed = player.serverWeaponsAllowed ? 1 : 0;
    settings.boostCount = static_cast<uint32_t>(std::max(player.serverBoostCount, 0));
    const int32_t inForce = settings_.budget;
    settings_ = settings;
    settings_.budget = inForce;
    chosenBudget_ = player.serverBudget;
    FitBudget(true);
    SetGameTimer(static_cast<int32_t>(settings.gameTimer));
}

void NetworkGame::SaveServerSettings(Player& player) const {
    player.serverScenarioName = settings_.scenario.c_str();
    player.serverBudget = chosenBudget_;
    player.serverMaxSquadCount = static_cast<int32_t>(settings_.squadCount);
    player.serverLaunchDelay = static_cast<int32_t>(settings_.launchDelay);
    player.serverMeteorDelay = static_cast<int32_t>(settings_.meteorDelay);
    player.serverGameRules = static_cast<int32_t>(settings_.rules);
    player.serverGoalCount = static_cast<int32_t>(settings_.soccerGoalCount);
    player.serverBallCount = static_cast<int32_t>(settings_.soccerBallCount);
    player.serverNetCount = static_cast<int32_t>(settings_.soccerNetCount);
    player.serverGameTimer = static_cast<int32_t>(settings_.gameTimer);
    player.serverVipCount = static_cast<int32_t>(settings_.vipCount);
    player.serverWeaponsAllowed = settings_.weaponsAllowed != 0;
    player.serverBoostCount = static_cast<int32_t>(settings_.boostCount);
}

const char* NetworkGame::GameRulesKey(uint32_t rules) {
    switch (rules) {
        case kLastVornStanding: return "GameRulesLastVornStanding";
        case kKingOfTheHill: return "GameRulesKingOfTheHill";
        case kShootForTheStars: return "GameRulesShootForTheStars";
        case kSoccer: return "GameRulesSoccer";
        default: return "UnknownPlayer";
    }
}

// --- what the session asks of the game

void NetworkGame::EnterState(SessionState state) {
    if (state == SessionState::ServerSquadSelection) {
        for (const auto& player : networker_.Players()) {
            if (player->record != nullptr)
                player->record->SetAllUpgradeLevels(static_cast<int32_t>(settings_.boostCount));
        }
    }
    // A join starts in the profile's colours (the join reloads it), whatever colours an
    // earlier server of this visit gave the player: the pictures show them again, and a
    // server that gives other colours paints those when its list arrives.
    if (state == SessionState::ClientJoined) PaintLocalPlayer();
    if (state == SessionState::ServerWaitWorldAck) OpenBattleScreens();
    if (screens_ != nullptr) screens_->Open(state);
}

// Every player's units, icons and figure wear its own colours; the shared meshes go back
// to the local player's.
void NetworkGame::PlayersChanged() {
    Array<Player*>& roster = GetPlayerRoster().networkPlayers;
    roster.Clear();
    for (const auto& player : networker_.Players()) {
        if (player->record == nullptr) continue;
        roster.Append(player->record);
        player->record->RebuildVornIcon(false);
    }
    GetLocalPlayer().ApplyColors();
    // Once squads are being chosen the budget has been handed out: it stays for that battle.
    const SessionState state = networker_.State();
    if (state == SessionState::ServerWaiting || state == SessionState::ServerSetup ||
        state == SessionState::ServerResults) {
        const int32_t before = settings_.budget;
        FitBudget(true);
        if (state == SessionState::ServerSetup && settings_.budget != before) SendGameSetup();
    }
    if (screens_ != nullptr) screens_->PlayersChanged();
}

void NetworkGame::ShowChat(const std::string& speaker, uint32_t colour, const std::string& line) {
    if (screens_ != nullptr) screens_->AddChatLine(speaker, colour, line);
}

void NetworkGame::ShowStatus(const std::string& line) {
    if (screens_ != nullptr) screens_->AddStatusLine(line);
}

void NetworkGame::PlaySound(const char* name) { PlayUiSound(name); }

void NetworkGame::UpdateLobby() {
    if (!lobbyListing_) return;
    RegisterOnLobby();
    if (!IsNetworkServer()) lobbyListing_ = false;
}

bool NetworkGame::RegisterOnLobby() {
    const int players = IsNetworkServer() ? PlayerCount() : 0;
    const bool playing = networker_.State() != SessionState::ServerWaiting;
    return LobbyRegistration(lobby_).Update(GetLocalPlayer().serverName.CStr(), players, playing);
}

void NetworkGame::JoinGivenUp(const char* messageKey) {
    if (screens_ != nullptr) screens_->ShowJoinError(messageKey);
}

void NetworkGame::ConnectFailed(const std::string& host, int32_t port) {
    if (screens_ != nullptr) screens_->ShowConnectError(host, port);
}

void NetworkGame::SessionLost(const char* messageKey) {
    RestoreNetworkFolders();
    if (screens_ != nullptr) screens_->ShowError(messageKey);
    PlayUiSound("Illegal.ogg");
}

bool NetworkGame::LoadScenarioText(const std::string& text) {
    if (gArena == nullptr) return false;
    StringStream stream(text.c_str());
    Point size;
    const bool loaded = gArena->GetTerrain().Load(stream, size) == Terrain::LoadResult::kLoaded;
    gArena->TerrainReplaced();
    return loaded;
}

void NetworkGame::OpenSquadSelection(int32_t budget, uint32_t squadCount) {
    settings_.budget = budget;
    settings_.squadCount = squadCount;
    settings_.Clamp(totalBudget_, PlayerCount());
    if (screens_ != nullptr) screens_->OpenSquadSelection(settings_.budget, settings_.squadCount);
}

void NetworkGame::CountdownTick(uint32_t) { PlayUiSound("Tick.ogg"); }

void NetworkGame::CollectSquads(SquadPayload& payload) {
    Player& local = GetLocalPlayer();
    SquadExchange::BuildPayload(local, static_cast<int32_t>(settings_.squadCount), payload);
    local.ClearSquads();
}

void NetworkGame::UseOwnSquads(SessionPlayer& local) {
    SquadExchange::UseOwnSquads(local, static_cast<int32_t>(settings_.squadCount));
    local.squadCount = settings_.squadCount;
}

bool NetworkGame::StoreSquads(SessionPlayer& sender, const SquadPayload& payload) {
    return SquadExchange::Store(sender, payload);
}

std::string NetworkGame::BuildWorldText() {
    if (gArena != nullptr && settings_.rules == kShootForTheStars) PlaceVIPs();
    if (gArena != nullptr && settings_.rules == kSoccer) DealSoccerNets();
    // Nothing moves until every peer holds the world: the battle starts for all at once.
    playerPaused = 1;
    std::string text = SquadExchange::BuildWorld(networker_);
    LookAtOwnLaunchPoint();
    GetWindowManager().NotifyAll();
    return text;
}

void NetworkGame::LookAtOwnLaunchPoint() {
    GameWindows* windows = GetGameWindows();
    const SessionPlayer* local = networker_.LocalPlayer();
    if (windows == nullptr || gArena == nullptr || local == nullptr) return;
    // The camera centres on the second point: the launch point, seen from the arena's middle.
    const Vector2 centre = gArena->PointAtFraction(0.5f, 0.5f);
    windows->AimBattlefieldCamera(gArena->GroundPoint(centre.x, centre.y),
                                  gArena->GroundPoint(local->launchPoint.x, local->launchPoint.y));
}

void NetworkGame::PlaceVIPs() {
    constexpr float kTwoPi = 6.28318531f;
    for (const auto& player : networker_.Players()) {
        if (player->record == nullptr || player->disconnected) continue;
        for (uint32_t i = 0; i < settings_.vipCount; ++i) {
            Vorn* unit = gArena->NewVorn(0);
            if (!unit->LoadFile("Wanderer")) {
                gArena->GiveBack(unit);  // with the stand-in body the failed reading built
                return;
            }
            unit->SetPlayer(player->record);
            unit->heading = static_cast<float>(sys::Rand()) / 32767.0f * kTwoPi;
            const Vector3 spot = gArena->RandomPoint();
            unit->SetDefaults();
            gArena->AddObject(unit);
            unit->PlaceAt(gArena->GroundPoint(spot.x, spot.y));
            gArena->SettleObject(unit);
            unit->vip = 1;
        }
    }
}

void NetworkGame::DealSoccerNets() {
    constexpr float kPi = 3.14159265f;
    std::vector<Goal*> goals;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindGoal && !object->removed) goals.push_back(static_cast<Goal*>(object));
    }
    const size_t wanted = static_cast<size_t>(settings_.soccerNetCount) * networker_.Players().size();
    while (goals.size() > wanted) {
        gArena->RemoveObject(goals.front(), false);
        goals.erase(goals.begin());
    }
    while (goals.size() < wanted) {
        Goal* goal = gArena->NewGoal();
        goal->owner = &GetLocalPlayer();
        goal->heading = static_cast<float>(sys::Rand()) / 32767.0f * kPi;
        const Vector3 spot = gArena->RandomPoint();
        gArena->AddObject(goal);
        goal->AssignId(*gArena);
        goal->PlaceAt(gArena->GroundPoint(spot.x, spot.y));
        goals.push_back(goal);
    }
    for (const auto& player : networker_.Players()) {
        for (uint32_t i = 0; i < settings_.soccerNetCount && !goals.empty(); ++i) {
            const int n = static_cast<int>(goals.size());
            const size_t index = static_cast<size_t>((sys::Rand() * (n - 1) + 16383) / 32767);
            goals[index]->owner = player->record;
            goals.erase(goals.begin() + static_cast<long>(index));
        }
    }
}

void NetworkGame::OpenBattleScreens() {
    SetupScoreboard();
    if (screens_ == nullptr) return;
    screens_->OpenBattleScreens();
    GetScoreboard().MoveTo(Point(0, 0));
}

void NetworkGame::BuildWorld(const std::string& text) {
    OpenBattleScreens();
    for (const auto& player : networker_.Players()) {
        if (player->record != nullptr) player->record->SetAllUpgradeLevels(static_cast<int32_t>(settings_.boostCount));
    }
    SquadExchange::ReadWorld(text, networker_);
    playerPaused = 1;
    StandUnitsAsSent();
    LookAtOwnLaunchPoint();
}

// The text gives each unit only where it is. The server put it there as the launch does:
// on the ground, where it took the ground's light, then lifted onto whatever stood there.
// Seated the same way here, each unit stands or waits in the air as the server's does,
// lit by the ground under it rather than drawn black until it first lands. A launched
// squad waits, taking no hit and showing no bar or shadow, until the battle's start and
// its wait after it (HoldLaunchedUnits).
void NetworkGame::StandUnitsAsSent() {
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn) continue;
        auto* unit = static_cast<Vorn*>(object);
        unit->PlaceAt(unit->position);
        unit->TakeTerrainLight();
        unit->delayTimer = unit->vip != 0 ? 0.0f : kLaunchWaitSeconds;
    }
}

// The server's world waits for every peer's acknowledgement and a client's for the start
// message, however long each takes; so the launch wait counts from the battle clock's 0 on
// every peer (a client's clock starts a lag below it, its events stamped with the
// server's clock), and each unit starts choosing then. VIPs, set down by the rules, start
// at once everywhere.
void NetworkGame::HoldLaunchedUnits() {
    ForEachUnit([this](Vorn& unit) {
        unit.ResetPatternState();
        unit.delayTimer = unit.vip != 0 ? 0.0f : kLaunchWaitSeconds - clock;
    });
}

void NetworkGame::StartBattle() {
    battleOver = 0;
    toldOut_ = false;
    airStates_.clear();
    endDelay_ = 0.0f;
    timeLeft_ = static_cast<float>(settings_.gameTimer);
    nextHillUpdate_ = timeLeft_ + 1.0f;
    playerPaused = 0;
    SetupScoreboard();
    if (IsNetworkServer()) {
        ApplyBattleRules();
        clock = 0.0f;
        HoldLaunchedUnits();
        return;
    }
    clock = -VornsNetworker::kClientLagSeconds;
    clockCorrection_ = 0.0f;
    StartMeteorShower(false);
    HoldLaunchedUnits();
}

void NetworkGame::SignalRequested(SessionPlayer& player, uint32_t which, bool on) {
    Event* event = NewEvent();
    event->type = which == 0 ? kEventSetNetworkSignal1 : kEventSetNetworkSignal2;
    event->point = Point(static_cast<int32_t>(player.address.ip), player.address.port);
    event->value = on ? 1 : 0;
    PostEvent(event);
}

void NetworkGame::DeleteNetworkUnitFiles() { SquadExchange::DeleteNetworkUnitFiles(); }

// --- addresses

sock::Ipv4Address NetworkGame::AddressOf(const Player* player) const {
    if (player == nullptr) return {};
    for (const auto& listed : networker_.Players()) {
        if (listed->record == player) return listed->address;
    }
    return {};
}

Player* NetworkGame::PlayerAt(const sock::Ipv4Address& address) const {
    if (address == sock::Ipv4Address{}) return nullptr;
    const SessionPlayer* player = networker_.FindPlayer(address);
    return player != nullptr ? player->record : nullptr;
}
