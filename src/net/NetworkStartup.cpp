#include "net/NetworkStartup.h"

#include <memory>

#include "net/NetworkGame.h"

namespace {
std::unique_ptr<NetworkGame> gNetworkGame;
}

NetworkGame& CreateNetworkGame(const std::string& lobbyHost, const std::string& proxyServer) {
    gNetworkGame = std::make_unique<NetworkGame>();
    LobbySettings settings;
    if (!lobbyHost.empty()) settings.host = lobbyHost;
    settings.proxyServer = proxyServer;
    gNetworkGame->SetLobbySettings(settings);
    return *gNetworkGame;
}

NetworkGame* GetNetworkGame() { return gNetworkGame.get(); }
