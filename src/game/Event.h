#pragma once
// The command record every window posts instead of acting at once, its pool, and the
// requirements a tutorial step waits for.
#include <cstdint>

#include "core/Array.h"
#include "core/MemoryBlock.h"
#include "core/Point.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "game/EventType.h"

class EventTarget;
class Requirement;
class WorldObject;

class Event {
public:
    Event();

    // Back to the pool's state: in the pool, no target, no words.
    void Reset();
    // Every argument cleared, as a freshly taken record must be: a pooled record keeps
    // whatever its last user left in it.
    void Clear();

    // The name of a type 0..229; empty for any other number and for 198 and 199.
    static String TypeName(int32_t type);
    // The first type whose name equals the name without regard to case; kEventNone when
    // none does. An empty name gives 198, the first type without a name.
    static int32_t FindType(const String& name);

    // True when the event satisfies at least one requirement of the list. Each matching
    // requirement is marked satisfied; one member of a group of alternatives satisfies
    // the whole group. A requirement whose words end early does not match.
    static bool Matches(Array<Requirement*>& requirements, const Event& event);

    bool inPool = true;
    Point point;  // integer pair argument
    String text;
    int32_t value = 0;
    int32_t type = kEventNone;
    Vector2 position2;  // pattern-editor coordinates
    Vector3 position3;  // a battlefield position
    WorldObject* object = nullptr;
    EventTarget* target = nullptr;  // the posting window, which also handles it
    float dueTime = 0.0f;           // game time at which a delayed event becomes due
    StringArray words;              // extra word arguments of scripts and peers
};

VORNS_MEMORY_BLOCK(Event, 50, 4);

// A circle of a requirement's words: centre and radius.
struct Circle {
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;

    // Inside or on the edge, in single precision.
    bool Contains(const Vector2& point) const;
};

// One event a tutorial step waits for: the window that must post it, its type and the
// words that test its arguments.
class Requirement {
public:
    enum State : int32_t {
        kSatisfied = 0,
        kRequired = 1,     // needed by itself
        kAlternative = 2,  // one of a group; any member satisfies them all
    };

    Requirement() = default;

    void Set(EventTarget* requiredTarget, int32_t requiredType, int32_t requiredState);
    // True when every requirement is satisfied; an empty list is.
    static bool AllSatisfied(const Array<Requirement*>& requirements);

    bool AtEnd() const { return cursor >= words.Count(); }
    int32_t WordsLeft() const { return words.Count() - cursor; }
    // The word at the cursor, which moves on; empty past the end.
    String NextWord();
    // The next word as a decimal number (0 when it is none).
    int32_t NextInt();
    Point NextIntPair();
    Circle NextCircle();

    EventTarget* target = nullptr;
    int32_t type = kEventNone;
    int32_t state = kSatisfied;
    int32_t cursor = 0;
    StringArray words;
};
