#include "world/Goal.h"

#include "core/ObjectShape.h"

// Placement tests and the grid see the kind's standard shape from the start.
Goal::Goal() {
    kind = kKindGoal;
    shape = ShapeForObjectKind(kind, Vector3(), 0.0f);
}

void Goal::Reset() {}

void Goal::Draw(const Vector3&) {}

void Goal::Update(bool) { SpendAllTime(); }
