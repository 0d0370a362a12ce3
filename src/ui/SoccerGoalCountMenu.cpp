// How many goals a network game has.
#include "ui/SoccerGoalCountMenu.h"

#include "ui/CountMenuHost.h"
#include "ui/WindowManager.h"

SoccerGoalCountMenu::SoccerGoalCountMenu() : ChassisCountMenu("SoccerGoalCountMenu", "SoccerGoalCountPopupMenu") {}

void SoccerGoalCountMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    // Escape keeps the count the game has.
    if (index >= 0 && host != nullptr) host->SetNetworkCount(CountMenuHost::kSoccerGoals, CountOf(index));
    GetWindowManager().CloseWindow(this);
}

SoccerGoalCountMenu& GetSoccerGoalCountMenu() {
    static SoccerGoalCountMenu menu;
    return menu;
}
