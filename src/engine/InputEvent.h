#pragma once
// One raw input record as the mouse queues it and the windows receive it.
#include <cstdint>

#include "core/Point.h"

enum InputEventKind : int32_t {
    kInputDown = 0,         // key or button pressed
    kInputUp = 1,           // key or button released
    kInputDoubleClick = 2,  // second press of a double click
    kInputCharacter = 3,
    kInputWheel = 4,  // code: notches, positive away from the user
    kInputPointerMove = 5,
    kInputFrameTick = 6,
    kInputNone = 7,
};

// Mouse buttons in the codes of kinds 0 to 2.
enum InputButton : int32_t {
    kInputButtonLeft = 0,
    kInputButtonRight = 1,
    kInputButtonMiddle = 2,
};

struct InputEvent {
    int32_t x = 0;  // pointer position in client pixels at the time of the event
    int32_t y = 0;
    int32_t kind = kInputNone;
    // Kinds 0-2: translated key code or button; 3: character; 4: notches; else 0.
    int32_t code = 0;

    void Set(int32_t eventKind, int32_t eventCode, const Point& position) {
        x = position.x;
        y = position.y;
        kind = eventKind;
        code = eventCode;
    }
    bool IsKeyDown(int32_t key) const { return kind == kInputDown && code == key; }
    bool IsKeyUp(int32_t key) const { return kind == kInputUp && code == key; }
    void Clear() { Set(kInputNone, -1, Point(-1, -1)); }
    bool operator==(const InputEvent&) const = default;
};

static_assert(sizeof(InputEvent) == 16, "four 32-bit fields");
