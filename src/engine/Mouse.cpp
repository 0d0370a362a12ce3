// The mouse pointer as the game sees it.
#include "engine/Mouse.h"

bool Mouse::IsPlacingMode(int32_t mode) {
    switch (mode) {
    case 2:
    case 3:
    case 4:
    case 9:
    case 14:
    case 15:
        return true;
    default:
        return false;
    }
}

Mouse& GetMouse() {
    static Mouse mouse;
    return mouse;
}
