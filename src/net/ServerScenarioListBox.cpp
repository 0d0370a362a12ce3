#include "net/ServerScenarioListBox.h"

#include "engine/Mouse.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/WindowManager.h"

ServerScenarioListBox::ServerScenarioListBox() { name = "ServerScenarioListBox"; }

void ServerScenarioListBox::PickEntry(int32_t entry, const String&) {
    if (entry >= 0 && entry < EntryCount() && GetNetworkGame() != nullptr) {
        GetNetworkGame()->SetScenario(items[entry].CStr());
        MarkMostRecentlyUsed(items[entry]);
    }
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
    GetMouse().ShowCursor();
}

ServerScenarioListBox& GetServerScenarioListBox() {
    static ServerScenarioListBox box;
    return box;
}
