#pragma once
// The base of the four fields (goo, explosion, static, health): a sphere that acts on
// what it covers for a while.
#include "world/WorldObject.h"

class Field : public WorldObject {
public:
    explicit Field(int fieldKind);

    // A field keeps nothing that needs preparing before it goes back to its pool.
    void Reset() override;
};
