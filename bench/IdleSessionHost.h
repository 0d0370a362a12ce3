#pragma once
// A session host that shows nothing and builds nothing: it keeps a clock the benchmark
// sets and counts the battle events the session applies.
#include <cstdint>
#include <string>

#include "net/NetworkMatchSettings.h"
#include "net/NetworkSessionHost.h"

class IdleSessionHost : public NetworkSessionHost {
public:
    float GameClock() const override { return clock; }
    float FrameTime() const override { return frameTime; }
    const NetworkMatchSettings& MatchSettings() const override { return settings; }
    void EnterState(SessionState) override {}
    void ShowChat(const std::string&, uint32_t, const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void SessionLost(const char*) override {}
    void ApplySettings(const NetworkMatchSettings&) override {}
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
    void Apply(const NetworkEvent&) override { ++applied; }

    float clock = 0.0f;
    float frameTime = 0.02f;
    NetworkMatchSettings settings;
    int64_t applied = 0;
};
