#pragma once
// The records the window's message pump delivers, in the order the input happened.
#include <cstdint>

namespace win {

enum class MessageKind {
    None,
    Activate,     // the application gained or lost the focus: `active`
    ButtonDown,   // `button` pressed
    ButtonUp,     // `button` released
    DoubleClick,  // the second press of a double click, delivered instead of ButtonDown
    Wheel,        // `wheelDelta`: 120 per notch, positive away from the user
    KeyDown,      // `key`, `repeat`, `altDown`
    KeyUp,        // `key`, `altDown`
    Char,         // `character`: one Latin-1 byte, including 8, 9, 13 and 27
    PointerMove,  // the pointer moved to (x, y)
    Quit,         // the program is asked to end (window manager, SIGTERM, PostQuit)
    Destroyed,    // the user closed the window
};

enum class MouseButton { Left = 0, Right = 1, Middle = 2 };

struct Message {
    MessageKind kind = MessageKind::None;
    // Pointer position in client pixels when the message was made (may lie outside the
    // client area while a button is held).
    int x = 0;
    int y = 0;
    int key = 0;  // KeyDown, KeyUp: virtual-key code (Keys.h)
    MouseButton button = MouseButton::Left;
    bool repeat = false;    // KeyDown: an auto-repeat of a held key
    bool altDown = false;   // KeyDown, KeyUp: the left Alt key is held
    uint8_t character = 0;  // Char
    int wheelDelta = 0;     // Wheel
    bool active = false;    // Activate
};

}  // namespace win
