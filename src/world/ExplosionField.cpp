#include "world/ExplosionField.h"

ExplosionField::ExplosionField() : Field(kKindExplosionField) {}

void ExplosionField::Reset() {}

void ExplosionField::Draw(const Vector3&) {}

void ExplosionField::Update(bool) { SpendAllTime(); }
