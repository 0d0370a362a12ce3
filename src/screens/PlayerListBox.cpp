// The list of player profiles.
#include "screens/PlayerListBox.h"

#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/FileHelpers.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "platform/sys/Paths.h"
#include "screens/ConfirmDeletePlayerMenu.h"
#include "screens/FrontEndShell.h"
#include "screens/GameMenu.h"
#include "ui/ScenarioListBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

void ClearRecentLists() {
    GetSquadTray().ClearRecentList();
    GetVornTray().ClearRecentList();
    GetScenarioListBox().ClearRecentList();
}

PlayerListBox::PlayerListBox() : ListBox("PlayerListBox", kRows, kMinimumWidth, false) {
    movable = false;
    closeButton = false;
    Initialize();
}

void PlayerListBox::OnOpen() {
    ListBox::OnOpen();
    const IntRect screen = UiScreenRect();
    MoveTo(Point((screen.right - screen.left + 1) / 2 - Width() / 2, kTop));
}

void PlayerListBox::Fill() {
    items.Clear();
    // "*." lists the names without a dot: the profile folders, not the profile files.
    for (const String& name : ListFiles("Players\\*.")) {
        // A name that cannot be a folder name cannot be a player either.
        if (sys::IsSafeName(name.CStr())) AddItem(name);
    }
}

bool PlayerListBox::Lists(const String& name) const {
    for (const String& item : items) {
        if (item == name) return true;
    }
    return false;
}

void PlayerListBox::PickEntry(int32_t entry, const String&) {
    if (entry != -1) PostEventInt(kEventOpenGameMenu, entry);
    GetMouse().ShowCursor();
}

void PlayerListBox::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventDeleteTrayEntry: {
            ConfirmDeletePlayerMenu& menu = GetConfirmDeletePlayerMenu();
            WindowManager& manager = GetWindowManager();
            menu.name = event.text;
            menu.MoveToScreenCentre();
            manager.OpenWindow(&menu);
            manager.BringToFront(&menu);
            break;
        }
        case kEventOpenGameMenu: LoadPicked(event.value); break;
        default: ListBox::HandleCommand(event);
    }
}

void PlayerListBox::LoadPicked(int32_t index) {
    // A script or a stale event may carry any index.
    if (index < 0 || index >= items.Count()) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    const String name = items[index];
    ClearRecentLists();
    FrontEndShell& shell = GetFrontEndShell();
    shell.LoadProfile(name);
    shell.SetLastPlayerName(name);
    shell.WriteOptions();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetGameMenu());
}

PlayerListBox& GetPlayerListBox() {
    static PlayerListBox box;
    return box;
}
