#include "world/Rock.h"

#include "core/ObjectShape.h"

// Placement tests and the grid see the kind's standard shape from the start.
Rock::Rock() {
    kind = kKindRock;
    shape = ShapeForObjectKind(kind, Vector3(), 0.0f);
}

void Rock::Reset() {}

void Rock::Draw(const Vector3&) {}

void Rock::Update(bool) { SpendAllTime(); }
