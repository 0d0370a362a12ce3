#include "world/SolarCharger.h"

#include "core/ObjectShape.h"

// Placement tests and the grid see the kind's standard shape from the start.
SolarCharger::SolarCharger() {
    kind = kKindSolarCharger;
    shape = ShapeForObjectKind(kind, Vector3(), 0.0f);
}

void SolarCharger::Reset() {}

void SolarCharger::Draw(const Vector3&) {}

void SolarCharger::Update(bool) { SpendAllTime(); }
