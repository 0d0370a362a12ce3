// The server sets the seconds between meteors.
#include "ui/ServerMeteorDelayEditBox.h"

#include "ui/NetworkSettings.h"

ServerMeteorDelayEditBox::ServerMeteorDelayEditBox() : EditBox("ServerMeteorDelayEditBox", "MeteorDelay?") {
    Initialize();
}

void ServerMeteorDelayEditBox::OnOpen() {
    AllowOnly("0123456789");
    const NetworkSettings* settings = GetNetworkSettings();
    text = settings != nullptr ? String::FromInt(settings->MeteorDelay()) : String();
    EditBox::OnOpen();
}

void ServerMeteorDelayEditBox::Accept() {
    NetworkSettings* settings = GetNetworkSettings();
    if (!text.IsEmpty() && settings != nullptr) settings->SetMeteorDelay(ReadNumber(text));
}

ServerMeteorDelayEditBox& GetServerMeteorDelayEditBox() {
    static ServerMeteorDelayEditBox box;
    return box;
}
