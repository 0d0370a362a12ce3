// The joining player types the server's address.
#include "ui/ServerIPEditBox.h"

#include "game/Player.h"
#include "game/PlayerRoster.h"

ServerIPEditBox::ServerIPEditBox() : EditBox("ServerIPEditBox", "ServerIP?") { Initialize(); }

String ServerIPEditBox::HostPart(const String& address) {
    const int at = address.FindLast(":");
    return at < 0 ? address : address.Right(address.CharCount() - at - 1);
}

void ServerIPEditBox::OnOpen() {
    AllowOnly("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    Allow(".-");
    text = HostPart(address_ != nullptr ? *address_ : GetLocalPlayer().serverClientServerIp);
    EditBox::OnOpen();
}

void ServerIPEditBox::Accept() {
    if (text.IsEmpty()) return;
    if (address_ != nullptr) *address_ = text;
    Player& player = GetLocalPlayer();
    player.Load();
    player.serverClientServerIp = text;
    if (!player.Save()) ReportSaveFailed();
}

ServerIPEditBox& GetServerIPEditBox() {
    static ServerIPEditBox box;
    return box;
}
