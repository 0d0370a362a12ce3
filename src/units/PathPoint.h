#pragma once
// A point of a pattern's path, with where the unit faces on arrival and the actions it
// performs there. The actions come from the arena's "Action" pool and go back to it
// before the point is cleared.
#include "core/Array.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

class Action;

class PathPoint {
public:
    static constexpr int kMaxActions = 8;

    // Points to their defaults and an empty action list.
    void Clear();

    Vector2 position;
    Vector2 facing;  // equal to the position when the point sets no facing
    Vector3 firstPoint;
    Vector3 secondPoint;
    Array<Action*> actions;
};
