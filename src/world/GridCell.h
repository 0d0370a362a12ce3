#pragma once
// One cell of the arena's object grid: the objects whose grid bounds cover it, in the
// order they entered.
#include "core/Array.h"

class WorldObject;

class GridCell : public Array<WorldObject*> {
public:
    using Array::Array;
};
