#pragma once
// Where the lobby is and how to reach it: the web host of the list and registration
// pages, and the proxy-server text of the options (empty: the system's proxy).
#include <string>

// No lobby host is built in: the options name the one to use.
inline constexpr const char* kDefaultLobbyHost = "lobby.vorns.invalid";

struct LobbySettings {
    std::string host = kDefaultLobbyHost;
    std::string proxyServer;
};
