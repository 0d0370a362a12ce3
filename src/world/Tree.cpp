#include "world/Tree.h"

#include "core/ObjectShape.h"

// Placement tests and the grid see the kind's standard shape from the start.
Tree::Tree() {
    kind = kKindTree;
    shape = ShapeForObjectKind(kind, Vector3(), 0.0f);
}

void Tree::Reset() {}

void Tree::Draw(const Vector3&) {}

void Tree::Update(bool) { SpendAllTime(); }
