// The server sets each player's launch budget.
#include "ui/ServerBudgetEditBox.h"

#include <algorithm>

#include "core/TextTable.h"
#include "ui/ErrorBox.h"
#include "ui/NetworkSettings.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

ServerBudgetEditBox::ServerBudgetEditBox() : EditBox("ServerBudgetEditBox", "Budget?") { Initialize(); }

int32_t ServerBudgetEditBox::LargestBudget(int32_t totalBudget, int32_t players) {
    return totalBudget / std::max(players, 1);
}

void ServerBudgetEditBox::OnOpen() {
    AllowOnly("0123456789");
    const NetworkSettings* settings = GetNetworkSettings();
    text = settings != nullptr ? String::FromInt(settings->Budget()) : String();
    EditBox::OnOpen();
}

void ServerBudgetEditBox::Accept() {
    NetworkSettings* settings = GetNetworkSettings();
    if (text.IsEmpty() || settings == nullptr) return;
    const int32_t value = ReadNumber(text);
    const int32_t largest = LargestBudget(settings->TotalBudget(), settings->PlayerCount());
    int32_t budget = value;
    if (value < kSmallestBudget || value > largest) {
        ErrorBox& box = GetErrorBox();
        box.message.Clear();
        box.AddLine(GetLanguageText("BudgetLimits") + String::FromInt(settings->TotalBudget()) +
                    GetLanguageText("BudgetLimits2"));
        box.WrapText();
        WindowManager& manager = GetWindowManager();
        manager.OpenWindow(&box);
        manager.BringToFront(&box);
        PlayUiSound("Illegal.ogg");
        budget = value < kSmallestBudget ? kSmallestBudget : largest;
    }
    settings->SetBudget(budget);
}

ServerBudgetEditBox& GetServerBudgetEditBox() {
    static ServerBudgetEditBox box;
    return box;
}
