#include "net/NetworkStartup.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "modes/ModeShell.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkWindows.h"
#include "platform/net/NetLimits.h"
#include "ui/ServerIPEditBox.h"
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
    // The lesson on network play holds the joining screen open and waits for its address
    // box before a player has ever opened them: made now, a lesson finds them by name.
    GetClientSetupWindow();
    GetServerIPEditBox();
    return *gNetworkGame;
}

NetworkGame* GetNetworkGame() { return gNetworkGame.get(); }

bool StartNetworkGame(bool serving) {
    NetworkGame* game = gNetworkGame.get();
    if (game == nullptr) return false;
    game->SetLeaveMode([] { GetModeShell().PopGame(); });
    // A server that cannot listen leaves the player in the menu with the error shown.
    if (serving && !game->Serve(GamePort())) return true;
    GetModeShell().PushGame(game);
    if (!serving) game->Join();
    return true;
}

int32_t GamePort() {
    const char* value = std::getenv("VORNS_GAME_PORT");
    if (value == nullptr || *value == '\0') return sock::kGamePort;
    char* end = nullptr;
    const long port = std::strtol(value, &end, 10);
    if (*end != '\0' || port < 0 || port > UINT16_MAX) return sock::kGamePort;
    return static_cast<int32_t>(port);
}
