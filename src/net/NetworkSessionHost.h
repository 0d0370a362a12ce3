#pragma once
// What the session protocol asks of the game around it: the clock, the screens of each
// state, the battlefield the messages build, and the squads. The network game implements
// it; the protocol tests implement it with plain records.
#include <cstdint>
#include <string>
#include <vector>

#include "net/NetworkEventApplier.h"
#include "net/NetworkMatchSettings.h"
#include "net/SessionState.h"
#include "net/SquadPayload.h"

struct SessionPlayer;

class NetworkSessionHost : public NetworkEventApplier {
public:
    virtual float GameClock() const = 0;
    virtual float FrameTime() const = 0;
    // The serving player's current choices (the server sends them).
    virtual const NetworkMatchSettings& MatchSettings() const = 0;

    // The state was entered: open its screens.
    virtual void EnterState(SessionState state) = 0;
    // A player came, went or changed colour.
    virtual void PlayersChanged() {}
    virtual void ShowChat(const std::string& speaker, uint32_t colour, const std::string& line) = 0;
    virtual void ShowStatus(const std::string& line) = 0;
    virtual void PlaySound(const char* /*name*/) {}
    // The server lost or refused this client: show the text of the key.
    virtual void SessionLost(const char* messageKey) = 0;
    // A join the server never answered was given up; the client is stopped and back at
    // the join screen: show the text of the key there.
    virtual void JoinGivenUp(const char* messageKey) { SessionLost(messageKey); }
    // A connection to the server could not be made (refused, unreachable, or not taken in
    // time); the client is stopped and back at the join screen.
    virtual void ConnectFailed(const std::string& /*host*/, int32_t /*port*/) { JoinGivenUp("UnableToConnect"); }
    // The lobby entry should show the new player count.
    virtual void UpdateLobby() {}

    // Client: the server's settings (clamped by the game's setters).
    virtual void ApplySettings(const NetworkMatchSettings& settings) = 0;
    // Client: the terrain to play on; false when it could not be read.
    virtual bool LoadScenarioText(const std::string& text) = 0;
    // Both roles: open the squad selection with the budget and squad count.
    virtual void OpenSquadSelection(int32_t budget, uint32_t squadCount) = 0;
    virtual void CountdownTick(uint32_t /*seconds*/) {}
    // Client: the squads and the unit files they need. Server: the serving player's
    // squads are made ready where they are.
    virtual void CollectSquads(SquadPayload& payload) = 0;
    virtual void UseOwnSquads(SessionPlayer& local) = 0;
    // Server: a client's squads; false refuses them (nothing stored).
    virtual bool StoreSquads(SessionPlayer& sender, const SquadPayload& payload) = 0;
    // Server: places every player's squads and writes the starting world.
    virtual std::string BuildWorldText() = 0;
    // Client: recreates the server's starting world.
    virtual void BuildWorld(const std::string& text) = 0;
    // Both roles, once the world is built: the local player's squad members the launch
    // found no room for, to be named on its screen as a drop names them.
    virtual void ShowMembersLeftOut(const std::vector<std::string>& /*names*/) {}
    // The battle begins: the server's clock starts at 0, a client's at -1 s.
    virtual void StartBattle() = 0;
    virtual void SetClockCorrection(float seconds) = 0;
    // Server: a client asks to set its own signal.
    virtual void SignalRequested(SessionPlayer& player, uint32_t which, bool on) = 0;
};
