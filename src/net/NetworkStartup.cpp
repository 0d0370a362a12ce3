#include "net/NetworkStartup.h"

#include <memory>

#include "modes/ModeShell.h"
#include "net/ChatWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkWindows.h"
#include "platform/net/NetLimits.h"
#include "ui/ServerNameEditBox.h"

namespace {
std::unique_ptr<NetworkGame> gNetworkGame;
NetworkWindows gNetworkWindows;
}  // namespace

NetworkGame& CreateNetworkGame(const std::string& lobbyHost, const std::string& proxyServer) {
    gNetworkGame = std::make_unique<NetworkGame>();
    LobbySettings settings;
    if (!lobbyHost.empty()) settings.host = lobbyHost;
    settings.proxyServer = proxyServer;
    gNetworkGame->SetLobbySettings(settings);
    gNetworkGame->SetScreens(&gNetworkWindows);
    GetChatWindow().SetSession(&gNetworkGame->Session());
    // Through the accessor: the box outlives any one game.
    GetServerNameEditBox().SetLobbyUpdate([] {
        if (NetworkGame* game = GetNetworkGame()) game->UpdateLobby();
    });
    return *gNetworkGame;
}

NetworkGame* GetNetworkGame() { return gNetworkGame.get(); }

bool StartNetworkGame(bool serving) {
    NetworkGame* game = gNetworkGame.get();
    if (game == nullptr) return false;
    game->SetLeaveMode([] { GetModeShell().PopGame(); });
    GetModeShell().PushGame(game);
    if (serving && !game->Serve(sock::kGamePort)) GetModeShell().PopGame();
    if (!serving) game->Join();
    return true;
}
