#pragma once
// A whole session in one process: a serving program and joining programs, each a
// networker with a host that records what the protocol asked of the game, all pumped
// together over loopback.
#include <functional>
#include <string>
#include <vector>

#include "LoopbackPeers.h"
#include "net/NetworkEventCodec.h"
#include "net/VornsNetworker.h"

namespace net_test {

class RecordingHost : public NetworkSessionHost {
public:
    float GameClock() const override { return clock; }
    float FrameTime() const override { return frameTime; }
    const NetworkMatchSettings& MatchSettings() const override { return settings; }
    void EnterState(SessionState state) override { states.push_back(state); }
    void ShowChat(const std::string& speaker, uint32_t, const std::string& line) override {
        chat.push_back((speaker.empty() ? std::string("?") : speaker) + ": " + line);
    }
    void ShowStatus(const std::string& line) override { status.push_back(line); }
    void PlayersChanged() override {
        if (onPlayersChanged) onPlayersChanged();
    }
    void SessionLost(const char* key) override { lost = key; }
    void ApplySettings(const NetworkMatchSettings& received) override {
        settings = received;
        settings.Clamp(5000, 2);
        ++settingsApplied;
        if (onSettings) onSettings();
    }
    bool LoadScenarioText(const std::string& text) override {
        scenario = text;
        return true;
    }
    void OpenSquadSelection(int32_t budget, uint32_t squads) override {
        squadBudget = budget;
        squadCount = squads;
    }
    void CollectSquads(SquadPayload& payload) override { payload = squadsToSend; }
    void UseOwnSquads(SessionPlayer&) override { ++ownSquadsUsed; }
    bool StoreSquads(SessionPlayer& sender, const SquadPayload& payload) override {
        stored.push_back({sender.name, payload});
        return true;
    }
    std::string BuildWorldText() override { return world; }
    void BuildWorld(const std::string& text) override { world = text; }
    void StartBattle() override {
        clock = started ? clock : -1.0f;
        ++battlesStarted;
    }
    void SetClockCorrection(float seconds) override { correction = seconds; }
    void SignalRequested(SessionPlayer& player, uint32_t which, bool on) override {
        signals.push_back(player.name + (which == 0 ? " 1 " : " 2 ") + (on ? "on" : "off"));
    }
    void Apply(const NetworkEvent& event) override { applied.push_back(event); }

    float clock = 0.0f;
    float frameTime = 0.02f;
    bool started = false;  // the server's clock is set by the test
    NetworkMatchSettings settings;
    std::function<void()> onPlayersChanged;
    std::function<void()> onSettings;
    std::vector<SessionState> states;
    std::vector<std::string> chat;
    std::vector<std::string> status;
    std::string lost;
    int settingsApplied = 0;
    std::string scenario;
    int32_t squadBudget = 0;
    uint32_t squadCount = 0;
    SquadPayload squadsToSend;
    int ownSquadsUsed = 0;
    std::vector<std::pair<std::string, SquadPayload>> stored;
    std::string world;
    int battlesStarted = 0;
    float correction = -1.0f;
    std::vector<std::string> signals;
    std::vector<NetworkEvent> applied;
};

struct Program {
    explicit Program(const std::string& name) : networker(host) {
        networker.SetLocalPlayer(nullptr, name, 0xFF112233, 0xFF445566);
        networker.SetDrainBudget(50);
    }
    void Step() {
        networker.Update();
        networker.FlushIfFull(true);
    }
    RecordingHost host;
    VornsNetworker networker;
};

}  // namespace net_test
