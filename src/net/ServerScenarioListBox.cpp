#include "net/ServerScenarioListBox.h"

#include "core/FileHelpers.h"
#include "engine/Mouse.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/WindowManager.h"

ServerScenarioListBox::ServerScenarioListBox() { name = "ServerScenarioListBox"; }

// A new player has saved no scenario of its own yet and still has the game's to play on;
// a saved one of the same name is the player's.
void ServerScenarioListBox::Fill() {
    ScenarioListBox::Fill();
    for (const String& file : ListFiles(String(kShippedFolder) + "*.SCN")) {
        if (!file.Extension().EqualsNoCase("scn")) continue;
        const String title = file.FileTitle();
        if (title != kSnapshotName && !IsListed(title)) items.Append(title);
    }
    FitWidth();
}

bool ServerScenarioListBox::IsListed(const String& title) const {
    for (const String& item : items) {
        if (item.EqualsNoCase(title.CStr())) return true;
    }
    return false;
}

String ServerScenarioListBox::CurrentScenario() const {
    const NetworkGame* game = GetNetworkGame();
    return game != nullptr ? String(game->MatchSettings().scenario.c_str()) : String();
}

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
