#pragma once
// Before a battle every program must hold the same battlefield and the same units. A
// client sends the unit files its squads need and its squads; the server stores them
// under that client's network folders, places every squad, and writes the starting
// world with each player's unit files for the clients to rebuild.
//
// Names from peers become file names, so each must be a safe name; counts from peers are
// capped before they drive a loop.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/String.h"
#include "net/SquadPayload.h"

class Player;
class Stream;
class Vorn;
class VornsNetworker;
struct SessionPlayer;

class SquadExchange {
public:
    static constexpr int32_t kMaxWorldPlayers = 9;
    static constexpr int32_t kMaxUnitFiles = 1000;
    static constexpr int32_t kMaxWorldObjects = 10000;

    // The unit files the squads need: for each unit its launchers' units first
    // (recursively, each name once), then its own file.
    static std::vector<std::string> CollectFileNames(const Player& player, int32_t squadLimit);
    // A client's squads in their wire form; only unit files that load travel.
    static void BuildPayload(const Player& player, int32_t squadLimit, SquadPayload& payload);
    // Server: the client's unit files saved into its network folders, its squads rebuilt
    // from the members' texts and owned by it. Entries without a safe name are skipped.
    static bool Store(SessionPlayer& sender, const SquadPayload& payload);
    // Server: the serving player's own unit files copied into its network folders.
    static void UseOwnSquads(SessionPlayer& local, int32_t squadLimit);
    // Server: every player's squads placed at launch points, then the world text. The
    // members the field had no room for are noted with the session, for their player.
    static std::string BuildWorld(VornsNetworker& session);
    // Client: the starting world rebuilt from the server's text.
    static void ReadWorld(const std::string& text, VornsNetworker& session);
    // The local player's members a launch left out, named on its screen as a drop
    // names them.
    static void ShowLeftOut(const std::vector<std::string>& names);
    // Every exchanged unit file removed from the network folder.
    static void DeleteNetworkUnitFiles();

private:
    static void CollectUnit(const String& name, std::set<std::string>& visited, std::vector<std::string>& names);
    static void PlaceSquads(VornsNetworker& session, SessionPlayer& player);
    static void WritePlayers(VornsNetworker& session, Stream& stream);
    static void WriteObjects(VornsNetworker& session, Stream& stream);
    static bool ReadPlayerBlock(Stream& stream, VornsNetworker& session);
    static bool ReadObject(Stream& stream, VornsNetworker& session);
};
