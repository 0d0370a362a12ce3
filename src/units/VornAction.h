#pragma once
// One queued action of a unit: a walk to the next path point, or a pattern action. The
// records come from the arena's "VornAction" pool and go back to it when finished.
#include <cstdint>

#include "core/Vector3.h"
#include "core/Vector3Array.h"

class VornAction {
public:
    // Kinds: 0 walk, 1..15 the pattern action kind plus one, 16 none.
    static constexpr int32_t kWalk = 0;
    static constexpr int32_t kTurnToFace = 1;
    static constexpr int32_t kSetSwitch1 = 2;
    static constexpr int32_t kClearSwitch1 = 3;
    static constexpr int32_t kSetSwitch2 = 4;
    static constexpr int32_t kClearSwitch2 = 5;
    static constexpr int32_t kSetSignal1 = 6;
    static constexpr int32_t kClearSignal1 = 7;
    static constexpr int32_t kSetSignal2 = 8;
    static constexpr int32_t kClearSignal2 = 9;
    static constexpr int32_t kFire1 = 10;
    static constexpr int32_t kFire2 = 11;
    static constexpr int32_t kFire1Up = 12;
    static constexpr int32_t kFire2Up = 13;
    static constexpr int32_t kClearBeacon = 14;
    static constexpr int32_t kSetTimer = 15;
    static constexpr int32_t kNone = 16;

    VornAction() = default;

    // Clears the received and sent bytes, as a record taken from the pool needs.
    void ClearStateFlags();
    bool IsFire() const { return kind >= kFire1 && kind <= kFire2Up; }
    // Fire2 and Fire2Up use the second weapon place.
    int WeaponPlace() const { return kind == kFire2 || kind == kFire2Up ? 1 : 0; }
    bool AimsHigh() const { return kind == kFire1Up || kind == kFire2Up; }

    int32_t kind = kNone;
    int32_t vornId = 0;         // written when the action is sent to clients
    Vector3 startPosition;      // walk: where it begins; others: the unit when queued
    float startHeading = 0.0f;  // radians, the unit's heading when queued
    Vector3 pointA;             // walk: the destination; fire: the target point
    Vector3 pointB;             // the point to face
    float timerValue = 0.0f;    // SetTimer: seconds
    Vector3Array shotData;      // the shot's random points carried to clients
    int32_t shotId = 0;
    uint8_t shotFlag = 0;
    uint8_t received = 0;        // built from a network message
    uint8_t sent = 0;            // server: sent to the clients; client: applied
    float timeStamp = 0.0f;      // the unit's own time when the action was performed
    uint8_t firstOfPattern = 0;  // the first action queued for a newly chosen pattern
};
