// One thing placed in a pattern around the unit.
#include "units/PatternObject.h"

#include <algorithm>
#include <iterator>

void PatternObject::Clear() {
    kind = 0;
    position = Vector2();
    facing = Vector2(1.0f, 0.0f);
    std::fill(std::begin(properties), std::end(properties), uint8_t(0));
    linkedObject = nullptr;
}
