// A condition of a pattern on one terrain cell.
#include "units/MapConditional.h"

void MapConditional::Clear() {
    kind = 0;
    position = Vector2();
}
