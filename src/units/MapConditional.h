#pragma once
// A condition of a pattern on the ground type or height of one terrain cell.
#include <cstdint>

#include "core/Vector2.h"

class MapConditional {
public:
    // Kind 0 at the origin.
    void Clear();

    int32_t kind = 0;  // 0..5
    Vector2 position;  // the tested cell in pattern coordinates
    int32_t flag = 1;
};
