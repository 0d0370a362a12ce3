// The server sets the game's time limit in seconds.
#include "ui/ServerGameTimerEditBox.h"

#include "ui/NetworkSettings.h"

ServerGameTimerEditBox::ServerGameTimerEditBox() : EditBox("ServerGameTimerEditBox", "GameTimer?") { Initialize(); }

void ServerGameTimerEditBox::OnOpen() {
    AllowOnly("0123456789");
    const NetworkSettings* settings = GetNetworkSettings();
    text = settings != nullptr ? String::FromInt(settings->GameTimer()) : String();
    EditBox::OnOpen();
}

void ServerGameTimerEditBox::Accept() {
    NetworkSettings* settings = GetNetworkSettings();
    if (!text.IsEmpty() && settings != nullptr) settings->SetGameTimer(ReadNumber(text));
}

ServerGameTimerEditBox& GetServerGameTimerEditBox() {
    static ServerGameTimerEditBox box;
    return box;
}
