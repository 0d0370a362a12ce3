// A point of a pattern's path.
#include "units/PathPoint.h"

void PathPoint::Clear() {
    position = Vector2();
    facing = Vector2();
    firstPoint = Vector3();
    secondPoint = Vector3();
    actions.Clear();
}
