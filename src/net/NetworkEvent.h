#pragma once
// A timed battle event received from the server: what changed, and the server's game
// time at which the client applies it. The fields a kind uses are listed with the kind.
#include <cstdint>
#include <vector>

#include "core/MemoryBlock.h"
#include "core/Vector3.h"
#include "platform/net/Ipv4Address.h"

enum class NetworkEventKind : uint32_t {
    VornAction = 0,
    DamageHeal = 1,  // damage classes 0..3 are kinds 1..4
    DamageBlast = 2,
    DamageFlame = 3,
    DamageOther = 4,
    ObjectDestroyed = 5,
    Explosion = 6,
    Debris = 7,
    ScorchMark = 8,
    Meteor = 11,
    BallSpawned = 12,
    BallPickedUp = 13,
    BallReleased = 14,
    BallUpdate = 15,
    GoalScored = 16,
    Results = 17,
    Signal1On = 18,
    Signal1Off = 19,
    Signal2On = 20,
    Signal2Off = 21,
    FlushObjects = 22,
    AirborneUpdate = 23,
    None = 24,
};

// One player's line of the battle's results.
struct NetworkResult {
    sock::Ipv4Address player;
    uint8_t winner = 0;
    uint32_t kills = 0;
    uint32_t losses = 0;
    uint32_t goals = 0;
    uint32_t unitsAlive = 0;
    float greatestHeight = 0.0f;
};

struct NetworkEvent {
    NetworkEventKind kind = NetworkEventKind::None;
    float time = 0.0f;
    uint32_t value = 0;              // object or ball id, damage target, or a second unit id
    uint32_t objectId = 0;           // the unit of actions, debris, ball pick-up and release, airborne updates
    sock::Ipv4Address player;        // source, owner, killer or signalling player
    sock::Ipv4Address secondPlayer;  // the goal's owner
    Vector3 vectorA;                 // position, or the point of an action
    float float1 = 0.0f;             // radius, timer value or a meteor's last float
    float float2 = 0.0f;             // amount or speed
    Vector3 vectorB;
    Vector3 vectorC;  // velocity or target
    uint32_t pieceCount = 0;
    std::vector<Vector3> listA;  // debris positions, or an action's path
    std::vector<Vector3> listB;  // debris velocities
    uint32_t actionKind = 0;
    Vector3 vectorD;
    float actionValue = 0.0f;  // the unit's heading when the action began
    uint8_t actionFlag = 0;
    uint8_t weaponFlag = 0;
    std::vector<NetworkResult> results;

    // As after construction; the lists keep their storage for the next use.
    void Reset();
};

VORNS_MEMORY_BLOCK(NetworkEvent, 50, 4);
