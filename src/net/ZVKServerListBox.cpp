#include "net/ZVKServerListBox.h"

#include "engine/Mouse.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/ClientSetupWindow.h"
#include "net/LobbyServerList.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "core/TextTable.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

ZVKServerListBox::ZVKServerListBox() : ListBox("ZVKServerListBox", 8, 650, false) { Initialize(); }

void ZVKServerListBox::OnOpen() {
    ListBox::OnOpen();
    CentreOnScreen();
}

void ZVKServerListBox::Fill() {
    items.Clear();
    picks_.clear();
    if (!open || GetNetworkGame() == nullptr) return;
    LobbyServerList list(GetNetworkGame()->Lobby());
    list.RefreshServerList();
    for (size_t row = 0; row < list.Rows().size(); ++row) {
        AddItem(String(list.Rows()[row].c_str()));
        picks_.push_back(list.PickRow(static_cast<int>(row)));
    }
    FitWidth();
}

void ZVKServerListBox::PickEntry(int32_t entry, const String&) {
    if (entry >= 0 && static_cast<size_t>(entry) < picks_.size()) Remember(String(picks_[static_cast<size_t>(entry)].c_str()));
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
    GetMouse().ShowCursor();
}

// The pick is the player's server address from now on, connected to or not.
void ZVKServerListBox::Remember(const String& address) {
    GetClientSetupWindow().address = address;
    Player& player = GetLocalPlayer();
    player.Load();
    player.serverClientServerIp = address;
    if (player.Save()) return;
    PlayUiSound("Illegal.ogg");
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText("SaveFailed"));
    box.WrapText();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
}

ZVKServerListBox& GetZVKServerListBox() {
    static ZVKServerListBox box;
    return box;
}
