#pragma once
// Where a network session stands. States 0..8 are the server's, 9..18 the client's;
// Idle is the state after construction.
#include <cstdint>

enum class SessionState : uint32_t {
    ServerWaiting = 0,
    ServerSetup = 1,
    ServerWaitSetupAck = 2,
    ServerSquadSelection = 3,
    ServerCountdown = 4,
    ServerWaitSquads = 5,
    ServerWaitWorldAck = 6,
    ServerPlaying = 7,
    ServerResults = 8,
    ClientEntering = 9,
    ClientJoined = 10,
    ClientWaiting = 11,
    ClientSetup = 12,
    ClientScenarioLoaded = 13,
    ClientSquadSelection = 14,
    ClientSquadsSent = 15,
    ClientPlaying = 16,
    ClientDisconnected = 17,
    ClientResults = 18,
    Idle = 19,
};
