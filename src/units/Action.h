#pragma once
// One action of a path point: what the unit does there, and where it aims. Pooled in the
// arena's "Action" pool.
#include <cstdint>

#include "core/Vector2.h"
#include "core/Vector3.h"

class Stream;

enum ActionKind : int32_t {
    kActionTurnToFace = 0,
    kActionSetSwitch1,
    kActionClearSwitch1,
    kActionSetSwitch2,
    kActionClearSwitch2,
    kActionSetSignal1,
    kActionClearSignal1,
    kActionSetSignal2,
    kActionClearSignal2,
    kActionFire1,
    kActionFire2,
    kActionFire1Up,
    kActionFire2Up,
    kActionClearBeacon,
    kActionSetTimer,
    kActionNone,
};
constexpr int kActionKindCount = 15;

// Keywords of the text form and the editor's button images, by kind.
extern const char* const ActionNames[kActionKindCount];
extern const char* const ActionButtonNames[kActionKindCount];

// Aimed kinds take their point as a target; the others sit on their path point's ring.
bool IsAimedActionKind(int32_t kind);

class Action {
public:
    static constexpr int32_t kNone = kActionNone;

    Action() = default;
    Action(const Action&) = default;
    // Kind, point and seconds; the world point belongs to the last placement.
    Action& operator=(const Action& other);

    // Back to no action: kind 15, point, world point and seconds zero.
    void Clear();
    void Reset() { Clear(); }
    bool IsAimed() const { return IsAimedActionKind(kind); }
    // A kind of the table, as opposed to none (15) or a stray value.
    bool HasKind() const { return kind >= 0 && kind < kActionKindCount; }

    // The kind of the keyword (exact case; "Delay" is the old name of "SetTimer"); false
    // and the kind unchanged when the word is not one.
    bool KindFromName(const char* text);

    // One action line without its indent and line end: keyword, point, and the seconds
    // for "SetTimer". An action without a kind has no keyword and writes nothing.
    static void Write(Stream& stream, const Action& action);
    // Reads the whole line's fields; false when the keyword is not an action's, in which
    // case the caller drops the action, or when the stream's error flag is set.
    static bool Read(Stream& stream, Action& action);

    int32_t kind = kNone;  // 0..14
    Vector2 point;         // aimed kinds: the target; others: the icon's place on the ring
    Vector3 worldPoint;    // the target in the world, written by pattern placement
    float seconds = 0.0f;  // "SetTimer" only
};
