#include "world/SoccerBall.h"

#include "core/ObjectShape.h"

// Placement tests and the grid see the kind's standard shape from the start.
SoccerBall::SoccerBall() {
    kind = kKindSoccerBall;
    shape = ShapeForObjectKind(kind, Vector3(), 0.0f);
}

void SoccerBall::Reset() {}

void SoccerBall::Draw(const Vector3&) {}

void SoccerBall::Update(bool) { SpendAllTime(); }
