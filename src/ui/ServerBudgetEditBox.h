#pragma once
// The server sets each player's launch budget: at least 25, at most the total budget
// shared among the players now in the game.
#include "ui/NumberEditBox.h"

class ServerBudgetEditBox : public NumberEditBox {
public:
    static constexpr int32_t kSmallestBudget = match_limits::kSmallestBudget;

    ServerBudgetEditBox();

protected:
    int32_t Value(const NetworkSettings& settings) const override;
    void SetValue(NetworkSettings& settings, int32_t value) const override;
    int32_t Smallest(const NetworkSettings&) const override { return kSmallestBudget; }
    int32_t Largest(const NetworkSettings& settings) const override;
};

ServerBudgetEditBox& GetServerBudgetEditBox();
