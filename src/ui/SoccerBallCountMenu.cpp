// How many balls a network game has.
#include "ui/SoccerBallCountMenu.h"

#include "ui/CountMenuHost.h"
#include "ui/WindowManager.h"

SoccerBallCountMenu::SoccerBallCountMenu() : ChassisCountMenu("SoccerBallCountMenu", "SoccerBallCountPopupMenu") {}

void SoccerBallCountMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    // Escape keeps the count the game has.
    if (index >= 0 && host != nullptr) host->SetNetworkCount(CountMenuHost::kSoccerBalls, CountOf(index));
    GetWindowManager().CloseWindow(this);
}

SoccerBallCountMenu& GetSoccerBallCountMenu() {
    static SoccerBallCountMenu menu;
    return menu;
}
