#pragma once
// The shell makes the one network game at start-up, with the options' lobby host and
// proxy server (empty: the built-in host, the system's proxy).
#include <cstdint>
#include <string>

class NetworkGame;

NetworkGame& CreateNetworkGame(const std::string& lobbyHost, const std::string& proxyServer);
// None before start-up made it.
NetworkGame* GetNetworkGame();
// The game menu's serve or join: the network game becomes the current mode (leaving it
// pops it again) and opens its first screen. False before start-up made the game.
bool StartNetworkGame(bool serving);
// The port served and joined: the game's own, unless the environment's VORNS_GAME_PORT
// names another (0 serves on a port the system chooses; tests run side by side that way).
int32_t GamePort();
