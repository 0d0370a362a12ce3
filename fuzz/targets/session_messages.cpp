// A frame's payload as the session's receiver sees it from a peer: messages back to back,
// each a code and its fields. The first input byte picks the role that receives it: a
// client in battle (timed events are queued and applied) or a server collecting squads.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "harness/FuzzTarget.h"
#include "net/VornsNetworker.h"

namespace {

class QuietHost : public NetworkSessionHost {
public:
    float GameClock() const override { return 10.0f; }
    float FrameTime() const override { return 0.02f; }
    const NetworkMatchSettings& MatchSettings() const override { return settings; }
    void EnterState(SessionState) override {}
    void ShowChat(const std::string&, uint32_t, const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void SessionLost(const char*) override {}
    void ApplySettings(const NetworkMatchSettings& received) override {
        settings = received;
        settings.Clamp(5000, 9);
    }
    bool LoadScenarioText(const std::string&) override { return true; }
    void OpenSquadSelection(int32_t, uint32_t) override {}
    void CollectSquads(SquadPayload&) override {}
    void UseOwnSquads(SessionPlayer&) override {}
    bool StoreSquads(SessionPlayer&, const SquadPayload&) override { return true; }
    std::string BuildWorldText() override { return {}; }
    void BuildWorld(const std::string&) override {}
    void StartBattle() override {}
    void SetClockCorrection(float) override {}
    void SignalRequested(SessionPlayer&, uint32_t, bool) override {}
    void Apply(const NetworkEvent&) override {}

    NetworkMatchSettings settings;
};

VornsNetworker& Server() {
    static QuietHost host;
    static auto networker = [] {
        auto made = std::make_unique<VornsNetworker>(host);
        made->SetPort(0);
        made->StartServer();
        return made;
    }();
    networker->SetState(SessionState::ServerCountdown);
    return *networker;
}

}  // namespace

VORNS_FUZZ_TARGET(data, size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 1) {
        Server().Receive(data + 1, size - 1, 0x0100007F, 40000);
        return 0;
    }
    QuietHost host;
    VornsNetworker client(host);
    client.SetState(SessionState::ClientPlaying);
    client.Receive(data + 1, size - 1, 0x0100007F, 29999);
    client.ApplyDueEvents();
    return 0;
}
