// The server sets the game's time limit in seconds.
#include "ui/ServerGameTimerEditBox.h"

#include "ui/NetworkSettings.h"

ServerGameTimerEditBox::ServerGameTimerEditBox() : NumberEditBox("ServerGameTimerEditBox", "GameTimer?") {
    Initialize();
}

int32_t ServerGameTimerEditBox::Value(const NetworkSettings& settings) const { return settings.GameTimer(); }

void ServerGameTimerEditBox::SetValue(NetworkSettings& settings, int32_t value) const { settings.SetGameTimer(value); }

ServerGameTimerEditBox& GetServerGameTimerEditBox() {
    static ServerGameTimerEditBox box;
    return box;
}
