// The server sets how long the players choose their squads.
#include "ui/ServerLaunchDelayEditBox.h"

#include "ui/NetworkSettings.h"

ServerLaunchDelayEditBox::ServerLaunchDelayEditBox() : EditBox("ServerLaunchDelayEditBox", "SquadSelectionDelayTime?") {
    Initialize();
}

void ServerLaunchDelayEditBox::OnOpen() {
    AllowOnly("0123456789");
    const NetworkSettings* settings = GetNetworkSettings();
    text = settings != nullptr ? String::FromInt(settings->LaunchDelay()) : String();
    EditBox::OnOpen();
}

void ServerLaunchDelayEditBox::Accept() {
    NetworkSettings* settings = GetNetworkSettings();
    if (!text.IsEmpty() && settings != nullptr) settings->SetLaunchDelay(ReadNumber(text));
}

ServerLaunchDelayEditBox& GetServerLaunchDelayEditBox() {
    static ServerLaunchDelayEditBox box;
    return box;
}
