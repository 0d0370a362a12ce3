#include "net/ServerSquadCountMenu.h"

#include "core/TextTable.h"
#include "engine/SpriteGrid.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/WindowManager.h"

ServerSquadCountMenu::ServerSquadCountMenu() : PopUpMenu("ServerSquadCountMenu", 48, 96.0f) {
    title = GetLanguageText("SquadEOLCount");
    for (int32_t i = 1; i <= 4; ++i) AddItem(String::FromInt(i) + "Button.tga", String::FromInt(i));
    Initialize();
}

void ServerSquadCountMenu::OnOpen() {
    EnsureResources();
    for (int32_t i = 1; i < 4; ++i) items->SetItemVisible(i, false);
    PopUpMenu::OnOpen();
}

void ServerSquadCountMenu::OnChoice(int32_t index) {
    if (index >= 0 && GetNetworkGame() != nullptr) GetNetworkGame()->SetSquadCount(static_cast<uint32_t>(index + 1));
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
}

ServerSquadCountMenu& GetServerSquadCountMenu() {
    static ServerSquadCountMenu menu;
    return menu;
}
