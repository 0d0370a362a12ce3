#pragma once
// The shell makes the one network game at start-up, with the options' lobby host and
// proxy server (empty: the built-in host, the system's proxy).
#include <string>

class NetworkGame;

NetworkGame& CreateNetworkGame(const std::string& lobbyHost, const std::string& proxyServer);
// None before start-up made it.
NetworkGame* GetNetworkGame();
// The game menu's serve or join: the network game becomes the current mode (leaving it
// pops it again) and opens its first screen. False before start-up made the game.
bool StartNetworkGame(bool serving);
