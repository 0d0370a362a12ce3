// How many nets a network game has.
#include "ui/SoccerNetCountMenu.h"

#include "ui/CountMenuHost.h"
#include "ui/WindowManager.h"

SoccerNetCountMenu::SoccerNetCountMenu() : ChassisCountMenu("SoccerNetCountMenu", "SoccerNetCountPopupMenu") {}

void SoccerNetCountMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    // Escape keeps the count the game has.
    if (index >= 0 && host != nullptr) host->SetNetworkCount(CountMenuHost::kSoccerNets, CountOf(index));
    GetWindowManager().CloseWindow(this);
}

SoccerNetCountMenu& GetSoccerNetCountMenu() {
    static SoccerNetCountMenu menu;
    return menu;
}
