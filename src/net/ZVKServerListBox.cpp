#include "net/ZVKServerListBox.h"

#include "engine/Mouse.h"
#include "net/ClientSetupWindow.h"
#include "net/LobbyServerList.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
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
    if (entry >= 0 && static_cast<size_t>(entry) < picks_.size())
        GetClientSetupWindow().address = String(picks_[static_cast<size_t>(entry)].c_str());
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
    GetMouse().ShowCursor();
}

ZVKServerListBox& GetZVKServerListBox() {
    static ZVKServerListBox box;
    return box;
}
