// The network game's settings as the server's edit boxes see them.
#include "ui/NetworkSettings.h"

namespace {
NetworkSettings* gSettings = nullptr;
}

void SetNetworkSettings(NetworkSettings* settings) { gSettings = settings; }

NetworkSettings* GetNetworkSettings() { return gSettings; }
