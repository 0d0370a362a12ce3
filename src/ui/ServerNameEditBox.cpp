// The serving player names the server the lobby lists.
#include "ui/ServerNameEditBox.h"

#include <cstring>

#include "game/Player.h"
#include "game/PlayerRoster.h"

ServerNameEditBox::ServerNameEditBox() : EditBox("ServerNameEditBox", "ServerName?") { Initialize(); }

void ServerNameEditBox::OnOpen() {
    AllowOnly("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    text = GetLocalPlayer().serverName;
    EditBox::OnOpen();
}

void ServerNameEditBox::Accept() {
    Player& player = GetLocalPlayer();
    if (text.IsEmpty() || std::strcmp(text.CStr(), player.serverName.CStr()) == 0) return;
    player.SetServerName(text);
    if (!player.Save()) ReportSaveFailed();
    if (lobbyUpdate_) lobbyUpdate_();
}

ServerNameEditBox& GetServerNameEditBox() {
    static ServerNameEditBox box;
    return box;
}
