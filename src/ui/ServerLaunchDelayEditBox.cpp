// The server sets how long the players choose their squads.
#include "ui/ServerLaunchDelayEditBox.h"

#include "ui/NetworkSettings.h"

ServerLaunchDelayEditBox::ServerLaunchDelayEditBox()
    : NumberEditBox("ServerLaunchDelayEditBox", "SquadSelectionDelayTime?") {
    Initialize();
}

int32_t ServerLaunchDelayEditBox::Value(const NetworkSettings& settings) const { return settings.LaunchDelay(); }

void ServerLaunchDelayEditBox::SetValue(NetworkSettings& settings, int32_t value) const {
    settings.SetLaunchDelay(value);
}

ServerLaunchDelayEditBox& GetServerLaunchDelayEditBox() {
    static ServerLaunchDelayEditBox box;
    return box;
}
