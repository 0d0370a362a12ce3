#include "net/NetworkMatchSettings.h"

#include <algorithm>

int32_t NetworkMatchSettings::BudgetPerPlayer(int32_t totalBudget, int32_t players) {
    return totalBudget / std::max(players, 1);
}

void NetworkMatchSettings::Clamp(int32_t totalBudget, int32_t players) {
    const int32_t largest = std::max(kSmallestBudget, BudgetPerPlayer(totalBudget, players));
    budget = std::clamp(budget, kSmallestBudget, largest);
    rules = std::min(rules, kRuleSetCount - 1);
    squadCount = std::clamp(squadCount, 1u, kMaxSquads);
    boostCount = std::min(boostCount, kMaxBoosts);
    soccerGoalCount = std::min(soccerGoalCount, kMaxRuleCount);
    soccerBallCount = std::min(soccerBallCount, kMaxRuleCount);
    soccerNetCount = std::min(soccerNetCount, kMaxRuleCount);
    vipCount = std::min(vipCount, kMaxRuleCount);
    launchDelay = std::min(launchDelay, kMaxSeconds);
    meteorDelay = std::min(meteorDelay, kMaxSeconds);
    gameTimer = std::min(gameTimer, kMaxSeconds);
    weaponsAllowed = weaponsAllowed != 0 ? 1 : 0;
    if (scenario.size() > kMaxScenarioBytes) scenario.resize(kMaxScenarioBytes);
}
