#pragma once
// What the serving player chooses for a match and the server sends to every client.
// Every value that reaches the game, from the set-up screen, a profile or a peer,
// passes Clamp first: a rule set or a count out of range would index the set-up grid
// past its end or make the spawn loops run for ever.
#include <cstdint>
#include <string>

#include "ui/MatchLimits.h"

struct NetworkMatchSettings {
    static constexpr uint32_t kRuleSetCount = 4;
    static constexpr uint32_t kMaxSquads = 4;
    static constexpr uint32_t kMaxBoosts = 5;
    static constexpr uint32_t kMaxRuleCount = 9;  // goals, balls, nets and VIPs
    static constexpr int32_t kSmallestBudget = match_limits::kSmallestBudget;
    static constexpr uint32_t kMaxSeconds = match_limits::kMaxSeconds;
    static constexpr size_t kMaxScenarioBytes = 255;

    // Brings every value into its range; the budget's top is the total shared among the
    // players (never below the smallest budget).
    void Clamp(int32_t totalBudget, int32_t players);
    // The largest budget one player may get.
    static int32_t BudgetPerPlayer(int32_t totalBudget, int32_t players);

    std::string scenario;
    int32_t budget = 1000;
    uint32_t squadCount = 1;
    uint32_t launchDelay = 30;
    uint32_t meteorDelay = 20;
    uint32_t rules = 0;
    uint32_t soccerGoalCount = 4;
    uint32_t soccerBallCount = 1;
    uint32_t soccerNetCount = 1;
    uint32_t gameTimer = 60;
    uint32_t vipCount = 1;
    uint8_t weaponsAllowed = 1;
    uint32_t boostCount = 0;
};
