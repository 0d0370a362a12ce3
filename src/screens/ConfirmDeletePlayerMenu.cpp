// Deletes a player's folder.
#include "screens/ConfirmDeletePlayerMenu.h"

#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "platform/sys/Paths.h"
#include "screens/FrontEndShell.h"
#include "screens/PlayerListBox.h"
#include "ui/UiServices.h"

ConfirmDeletePlayerMenu::ConfirmDeletePlayerMenu() : ConfirmationMenu("ConfirmDeletePlayerMenu", nullptr) {
    namedQuestionKey_ = "DeletePlayer?";
}

void ConfirmDeletePlayerMenu::OnYes() {
    PlayerListBox& list = GetPlayerListBox();
    // The name came with an event: only a listed profile with a safe name is deleted.
    if (!list.Lists(name) || !sys::IsSafeName(name.CStr())) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    if (!DeleteFileOrFolder("Players\\" + name)) {
        Debugger::Instance().Line((String("Players: cannot delete the player ") + name).CStr());
        PlayUiSound("Illegal.ogg");
        return;
    }
    PlayUiSound("Delete.ogg");
    list.Refresh();
    FrontEndShell& shell = GetFrontEndShell();
    if (shell.LastPlayerName() == name) {
        shell.SetLastPlayerName(String());
        shell.WriteOptions();
    }
}

ConfirmDeletePlayerMenu& GetConfirmDeletePlayerMenu() {
    static ConfirmDeletePlayerMenu menu;
    return menu;
}
