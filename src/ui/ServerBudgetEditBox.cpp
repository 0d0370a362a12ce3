// The server sets each player's launch budget.
#include "ui/ServerBudgetEditBox.h"

#include <algorithm>

#include "ui/NetworkSettings.h"

ServerBudgetEditBox::ServerBudgetEditBox()
    : NumberEditBox("ServerBudgetEditBox", "Budget?", "BudgetLimits", "BudgetLimits2") {
    Initialize();
}

int32_t ServerBudgetEditBox::Value(const NetworkSettings& settings) const { return settings.Budget(); }

void ServerBudgetEditBox::SetValue(NetworkSettings& settings, int32_t value) const { settings.SetBudget(value); }

int32_t ServerBudgetEditBox::Largest(const NetworkSettings& settings) const {
    return std::max(kSmallestBudget, settings.BudgetPerPlayer());
}

ServerBudgetEditBox& GetServerBudgetEditBox() {
    static ServerBudgetEditBox box;
    return box;
}
