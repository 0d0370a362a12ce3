#pragma once
// One player of a network session as the protocol sees it: the address that names it on
// the wire, what it told the server, and how far it has come through the session. The
// game's own record of the player (squads, scores, upgrades) hangs off it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Vector2.h"
#include "game/Player.h"
#include "platform/net/Ipv4Address.h"

struct SessionPlayer {
    sock::Ipv4Address address;
    std::string name;
    uint32_t colour1 = 0xFFFFFFFF;
    uint32_t colour2 = 0xFFFFFFFF;
    bool ready = false;  // its squads arrived
    bool setupAcknowledged = false;
    bool worldAcknowledged = false;
    bool disconnected = false;
    float linger = 0.0f;  // seconds a disconnected player stays listed
    float greatestHeight = 0.0f;
    std::vector<std::string> unitFiles;
    uint32_t squadCount = 0;
    Vector2 launchPoint;  // where its squads entered the battlefield
    bool local = false;
    // The game's record: the local player's own, or one made for a peer.
    Player* record = nullptr;
    std::unique_ptr<Player> owned;
};
