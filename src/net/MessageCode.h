#pragma once
// The one-byte codes of the session's messages. A frame holds messages back to back,
// each a code and its fields; nothing marks where a message ends, so a receiver that
// cannot read one drops the rest of the frame.
#include <cstdint>

enum class MessageCode : uint8_t {
    YourAddress = 0,
    SquadSelection = 1,
    PlayerList = 2,
    ReplayGame = 3,
    OpenSetup = 4,
    BackToWaiting = 5,
    GameSetup = 6,
    ClientInfo = 7,
    ChatToServer = 8,
    ChatLine = 9,
    StatusLine = 10,
    PlayerFlags = 11,
    ClientSquads = 12,
    SetupAck = 13,
    WorldAck = 14,
    Scenario = 15,
    World = 16,
    StartGame = 17,
    Countdown = 18,
    VornAction = 19,
    Explosion = 20,
    Debris = 21,
    ScorchMark = 22,
    ObjectDestroyed = 23,
    Damage = 24,  // 24..27, one per damage class
    TimeSync = 28,
    Meteor = 29,
    BallSpawned = 30,
    BallPickedUp = 31,
    BallReleased = 32,
    BallUpdate = 33,
    GoalScored = 34,
    Results = 35,
    Signal = 36,
    SignalRequest = 37,
    KeepAlive = 38,
    FlushObjects = 39,
    AirborneUpdate = 40,
    MembersLeftOut = 41,
    Count = 42,  // codes from here on are unknown
};

inline uint8_t CodeByte(MessageCode code) { return static_cast<uint8_t>(code); }
