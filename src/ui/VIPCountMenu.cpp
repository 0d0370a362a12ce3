// How many VIPs each side of a network game has.
#include "ui/VIPCountMenu.h"

#include "ui/CountMenuHost.h"
#include "ui/WindowManager.h"

VIPCountMenu::VIPCountMenu() : ChassisCountMenu("VIPCountMenu", "VIPCountPopupMenu") {}

void VIPCountMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    // Escape keeps the count the game has.
    if (index >= 0 && host != nullptr) host->SetNetworkCount(CountMenuHost::kVIPs, CountOf(index));
    GetWindowManager().CloseWindow(this);
}

VIPCountMenu& GetVIPCountMenu() {
    static VIPCountMenu menu;
    return menu;
}
