#pragma once
// The game mode of a networked match. It owns the session, keeps the match settings the
// server chooses, runs the battle's end under the four rule sets, holds a client's clock
// back when its lead over the server's events has shrunk, forwards the world's events to
// the clients when serving, and replays them on a client.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "game/Game.h"
#include "net/LobbySettings.h"
#include "net/NetworkMatchSettings.h"
#include "net/NetworkScreens.h"
#include "net/NetworkSessionHost.h"
#include "net/SquadExchange.h"
#include "net/VornsNetworker.h"
#include "ui/NetworkSettings.h"

class NetworkGame : public Game, public NetworkSessionHost, public NetworkSettings {
public:
    enum Rules : uint32_t { kLastVornStanding = 0, kKingOfTheHill = 1, kShootForTheStars = 2, kSoccer = 3 };
    static constexpr float kEndDelaySeconds = 8.0f;
    static constexpr float kLowestHeight = -25.0f;
    static constexpr int32_t kDefaultTotalBudget = 5000;
    // Seconds a launched squad's units wait, counted from the battle's start on every
    // peer, before they act.
    static constexpr float kLaunchWaitSeconds = 2.0f;

    NetworkGame();
    ~NetworkGame() override;

    VornsNetworker& Session() { return networker_; }
    const VornsNetworker& Session() const { return networker_; }
    void SetScreens(NetworkScreens* screens) { screens_ = screens; }
    void SetLobbySettings(const LobbySettings& settings) { lobby_ = settings; }
    const LobbySettings& Lobby() const { return lobby_; }
    void SetLobbyListing(bool listed) { lobbyListing_ = listed; }
    // How the network mode is left (the shell pops it); the screens' "back" use it.
    void SetLeaveMode(std::function<void()> leave) { leaveMode_ = std::move(leave); }
    void LeaveMode();
    bool LobbyListing() const { return lobbyListing_; }
    // Serving: listens on the game's port and opens the waiting screen. False (nothing
    // started) when the port cannot be served.
    bool Serve(int32_t port);
    // Joining: the client set-up screen takes the address.
    void Join();

    // --- Game
    void End() override;
    // The windows, and the time left of a king-of-the-hill battle.
    void DrawFrame() override;
    void HandleInputEvents(const Array<InputEvent>& inputs) override;
    bool PreviewInputEvent(const InputEvent& input) override;
    bool PostviewInputEvent(const InputEvent& input) override;
    void HandleEvent(Event& event) override;
    void Update() override;
    void AdvanceClock() override;
    bool IsControlAllowed(int32_t control) const override;
    void SetScoringSuspended(bool suspended) override;
    bool IsNetworkClient() const override { return networker_.IsClientRunning(); }
    bool IsNetworkServer() const override { return networker_.IsServerRunning(); }

    void OnDebrisSpawned(Vorn* vorn, int32_t cause, const Array<Debris*>& debris) override;
    void OnHealthChanged(WorldObject* object, Player* attacker, const Vector3& point, float amount,
                         int32_t code) override;
    void OnObjectDestroyed(WorldObject* object) override;
    void OnScorchMark(ScorchMark* scorch) override;
    void OnVornAction(Vorn* vorn, const Vector3& position, VornAction* action, float vornTime) override;
    void OnBlastAdded(ExplosionField* explosion) override;
    void OnMeteorAdded(Meteor* meteor, int32_t sound, float volume, int32_t unused) override;
    void OnBallSpawned(SoccerBall* ball) override;
    void OnBallPickedUp(Vorn* vorn, SoccerBall* ball, float vornTime) override;
    void OnBallPutInPlay(Vorn* vorn, SoccerBall* ball, float vornTime) override;
    void OnBallUpdate(SoccerBall* ball) override;
    void OnGoalScored(Player* kicker, Player* goalOwner, SoccerBall* ball) override;
    void OnSignalChanged(Player* player, int32_t which, uint8_t value) override;
    void RequestSignal(Player* player, int32_t which, uint8_t value) override;

    // --- the match settings; each is brought into range and, when serving, sent
    void SetScenario(const std::string& name);
    void SetBudget(int32_t budget) override;
    void SetSquadCount(uint32_t count);
    void SetLaunchDelay(int32_t seconds) override;
    void SetMeteorDelay(int32_t seconds) override;
    void SetGameRules(uint32_t rules);
    void SetSoccerGoalCount(uint32_t count);
    void SetSoccerBallCount(uint32_t count);
    void SetSoccerNetCount(uint32_t count);
    void SetGameTimer(int32_t seconds) override;
    void SetVIPCount(uint32_t count);
    void SetWeaponsAllowed(bool allowed);
    void SetBoostCount(uint32_t count);
    void SetTotalBudget(int32_t total) { totalBudget_ = total; }
    // The serving player's saved choices, through the setters (the set-up screen opens).
    void LoadServerSettings(const Player& player);
    void SaveServerSettings(Player& player) const;
    void SendGameSetup();
    // Server, the set-up screen starts: the chosen scenario is loaded without units and
    // balls (and goals, unless the rules are soccer) and its terrain sent to the clients.
    void SendScenario();
    // The count menus' choices (VIPs, balls, goals, nets) through the setters.
    void SetNetworkCount(int32_t which, int32_t count);
    // The text key of a rule set; "UnknownPlayer" for any other value.
    static const char* GameRulesKey(uint32_t rules);

    // --- NetworkSettings (the server's edit boxes)
    int32_t TotalBudget() const override { return totalBudget_; }
    int32_t PlayerCount() const override;
    int32_t BudgetPerPlayer() const override;
    int32_t Budget() const override { return settings_.budget; }
    int32_t GameTimer() const override { return static_cast<int32_t>(settings_.gameTimer); }
    int32_t LaunchDelay() const override { return static_cast<int32_t>(settings_.launchDelay); }
    int32_t MeteorDelay() const override { return static_cast<int32_t>(settings_.meteorDelay); }

    // --- NetworkSessionHost
    float GameClock() const override { return clock; }
    float FrameTime() const override { return frameTime; }
    const NetworkMatchSettings& MatchSettings() const override { return settings_; }
    void EnterState(SessionState state) override;
    void PlayersChanged() override;
    void ShowChat(const std::string& speaker, uint32_t colour, const std::string& line) override;
    void ShowStatus(const std::string& line) override;
    void PlaySound(const char* name) override;
    void SessionLost(const char* messageKey) override;
    void JoinGivenUp(const char* messageKey) override;
    void ConnectFailed(const std::string& host, int32_t port) override;
    // Serving with the lobby listing on: the entry shows the player count (none once
    // the server stopped).
    void UpdateLobby() override;
    // The lobby entry now; true when the lobby confirmed it.
    bool RegisterOnLobby();
    void ApplySettings(const NetworkMatchSettings& settings) override;
    bool LoadScenarioText(const std::string& text) override;
    void OpenSquadSelection(int32_t budget, uint32_t squadCount) override;
    void CountdownTick(uint32_t seconds) override;
    void CollectSquads(SquadPayload& payload) override;
    void UseOwnSquads(SessionPlayer& local) override;
    bool StoreSquads(SessionPlayer& sender, const SquadPayload& payload) override;
    std::string BuildWorldText() override;
    void BuildWorld(const std::string& text) override;
    void ShowMembersLeftOut(const std::vector<std::string>& names) override { SquadExchange::ShowLeftOut(names); }
    void StartBattle() override;
    void SetClockCorrection(float seconds) override { clockCorrection_ = seconds; }
    void SignalRequested(SessionPlayer& player, uint32_t which, bool on) override;
    void Apply(const NetworkEvent& event) override;

    // Server: the winners are those with the best score of the rule set; the results go
    // to every client and the end delay starts.
    void EndGame();
    float ClockCorrection() const { return clockCorrection_; }
    float EndDelay() const { return endDelay_; }
    float TimeLeft() const { return timeLeft_; }
    // Every player's greatest height: the highest of its live units, else the lowest
    // ground.
    void UpdateGreatestHeights();
    // The scoreboard counts again from the battlefield and shows the columns that score
    // under the rule set.
    void SetupScoreboard();

private:
    bool IsPlaying() const;
    // The local player's units and interface pictures (chassis buttons in the trays,
    // weapon buttons) in the colours the record holds now.
    static void PaintLocalPlayer();
    void ForEachUnit(const std::function<void(Vorn&)>& visit) const;
    void IdleUnits();
    void OpenBattleScreens();
    void SettingsChanged();
    // The budget in force: the host's choice, down to the total shared among the players.
    // Server: when the players' count moved it and `tell`, the host reads why in the chat.
    void FitBudget(bool tell);
    void StepRules();
    void StepEndDelay();
    // A player whose units are all gone is told once that he is out.
    void TellWhenOut();
    void SpawnMissingBalls();
    bool FewerThanTwoScoring(bool vipsOnly) const;
    float ScoreOf(const SessionPlayer& player) const;
    void ApplyBattleRules();
    void LoadChosenScenario();
    void StartMeteorShower(bool on);
    // Server, before the world goes out: each player's VIPs, or the soccer nets dealt.
    void PlaceVIPs();
    void DealSoccerNets();
    // The battle opens on the local player's own squads.
    void LookAtOwnLaunchPoint();
    // A world read from the server: each unit seated and lit as the server's stands.
    void StandUnitsAsSent();
    // The battle starts: every launched unit waits from now, as on every other peer.
    void HoldLaunchedUnits();
    // The wire address of a player record; {} for none or a player not in the session.
    sock::Ipv4Address AddressOf(const Player* player) const;
    Player* PlayerAt(const sock::Ipv4Address& address) const;
    void Send(NetworkEvent& event, float time);
    void ApplyResults(const NetworkEvent& event);
    void ApplyBallEvent(const NetworkEvent& event);
    void ReportAirborneChanges();
    void DeleteNetworkUnitFiles();

    VornsNetworker networker_;
    SquadExchange exchange_;
    NetworkScreens* screens_ = nullptr;
    LobbySettings lobby_;
    bool lobbyListing_ = false;
    std::function<void()> leaveMode_;
    NetworkMatchSettings settings_;
    // The budget the host chose; settings_.budget is the one in force, what clients get.
    int32_t chosenBudget_ = NetworkMatchSettings{}.budget;
    NetworkEvent outgoing_;
    int32_t totalBudget_ = kDefaultTotalBudget;
    float clockCorrection_ = 0.0f;
    float endDelay_ = 0.0f;
    bool toldOut_ = false;
    float timeLeft_ = 0.0f;
    float nextHillUpdate_ = 0.0f;
    // Server: each unit's flight as the last frame left it, by id.
    struct AirState {
        bool airborne = false;
        int32_t bounces = 0;
    };
    std::unordered_map<int32_t, AirState> airStates_;
    // The Escape key went to an open confirmation menu, which takes it as "no".
    bool escapeAnswersMenu_ = false;
};
