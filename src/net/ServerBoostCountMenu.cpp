#include "net/ServerBoostCountMenu.h"

#include "core/TextTable.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/WindowManager.h"

ServerBoostCountMenu::ServerBoostCountMenu() : PopUpMenu("ServerBoostCountMenu", 48, 96.0f) {
    title = GetLanguageText("ServerEOLBoostCount");
    for (int32_t i = 0; i <= 5; ++i) AddItem(String::FromInt(i) + "Button.tga", String::FromInt(i));
    Initialize();
}

void ServerBoostCountMenu::OnChoice(int32_t index) {
    if (index >= 0 && GetNetworkGame() != nullptr) GetNetworkGame()->SetBoostCount(static_cast<uint32_t>(index));
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
}

ServerBoostCountMenu& GetServerBoostCountMenu() {
    static ServerBoostCountMenu menu;
    return menu;
}
