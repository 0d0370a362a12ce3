// The server sets the seconds between meteors (0: none).
#include "ui/ServerMeteorDelayEditBox.h"

#include "ui/NetworkSettings.h"

ServerMeteorDelayEditBox::ServerMeteorDelayEditBox() : NumberEditBox("ServerMeteorDelayEditBox", "MeteorDelay?") {
    Initialize();
}

int32_t ServerMeteorDelayEditBox::Value(const NetworkSettings& settings) const { return settings.MeteorDelay(); }

void ServerMeteorDelayEditBox::SetValue(NetworkSettings& settings, int32_t value) const {
    settings.SetMeteorDelay(value);
}

ServerMeteorDelayEditBox& GetServerMeteorDelayEditBox() {
    static ServerMeteorDelayEditBox box;
    return box;
}
