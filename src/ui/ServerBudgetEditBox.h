#pragma once
// The server sets each player's launch budget: at least 25, at most the total budget
// shared among the players. A value outside says so in the error box and is brought in.
#include "ui/EditBox.h"

class ServerBudgetEditBox : public EditBox {
public:
    static constexpr int32_t kSmallestBudget = 25;

    ServerBudgetEditBox();
    void OnOpen() override;
    void Accept() override;
    // The largest budget a player may get; never divides by fewer than one player.
    static int32_t LargestBudget(int32_t totalBudget, int32_t players);
};

ServerBudgetEditBox& GetServerBudgetEditBox();
