// One action of a path point.
#include "units/Action.h"

void Action::Clear() {
    kind = kNone;
    point = Vector2();
    worldPoint = Vector3();
    seconds = 0.0f;
}
