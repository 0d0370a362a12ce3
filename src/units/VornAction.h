#pragma once
// One queued action of a unit: a walk to the next path point, or a pattern action.
#include <cstdint>

#include "core/Vector3.h"
#include "core/Vector3Array.h"

class VornAction {
public:
    // 0 walk, 1..15 the pattern action kind plus one.
    static constexpr int32_t kNone = 16;

    VornAction() = default;

    // Clears the received and sent bytes, as a record taken from the pool needs.
    void ClearStateFlags();

    int32_t kind = kNone;
    int32_t vornId = 0;         // written when the action is sent to clients
    Vector3 startPosition;
    float startHeading = 0.0f;  // radians
    Vector3 pointA;             // walk: the destination; fire: the target point
    Vector3 pointB;             // the point to face
    float timerValue = 0.0f;    // SetTimer: seconds
    Vector3Array shotData;      // the shot's random points carried to clients
    int32_t shotId = 0;
    uint8_t shotFlag = 0;
    uint8_t received = 0;       // built from a network message
    uint8_t sent = 0;           // server: sent to the clients; client: applied
    float timeStamp = 0.0f;     // the unit's own time when the action was performed
};
