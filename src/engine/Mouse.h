#pragma once
// The mouse pointer as the game sees it: what it carries or places.
#include <cstdint>

class Mouse {
public:
    static constexpr int32_t kModeNothing = 21;

    // Whether the mode is one in which the player carries or places something, which
    // pauses the simulation (modes 2, 3, 4, 9, 14 and 15).
    static bool IsPlacingMode(int32_t mode);

    // The carried kind 0..21 that a window hands over when it starts a drag or a placing.
    int32_t mode = kModeNothing;
};

Mouse& GetMouse();
