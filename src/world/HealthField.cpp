#include "world/HealthField.h"

HealthField::HealthField() : Field(kKindHealthField) {}

void HealthField::Reset() {}

void HealthField::Draw(const Vector3&) {}

void HealthField::Update(bool) { SpendAllTime(); }
