#include "net/ServerGameRulesMenu.h"

#include "core/TextTable.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/WindowManager.h"

ServerGameRulesMenu::ServerGameRulesMenu() : PopUpMenu("ServerGameRulesMenu", 64, 96.0f) {
    title = GetLanguageText("ServerEOLGameRules");
    for (uint32_t rules = 0; rules < 4; ++rules) {
        const String key = NetworkGame::GameRulesKey(rules);
        AddItem(key + "Button.tga", key);
    }
    Initialize();
}

void ServerGameRulesMenu::OnOpen() {
    EnsureResources();
    const Player& player = GetLocalPlayer();
    for (int32_t i = 0; i < 4; ++i) items->SetItemVisible(i, player.GetUpgradeLevel(kUnlockingKinds[i]) >= 0);
    PopUpMenu::OnOpen();
}

void ServerGameRulesMenu::OnChoice(int32_t index) {
    if (index >= 0 && GetNetworkGame() != nullptr) GetNetworkGame()->SetGameRules(static_cast<uint32_t>(index));
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
}

ServerGameRulesMenu& GetServerGameRulesMenu() {
    static ServerGameRulesMenu menu;
    return menu;
}
