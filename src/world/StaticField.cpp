#include "world/StaticField.h"

StaticField::StaticField() : Field(kKindStaticField) {}

void StaticField::Reset() {}

void StaticField::Draw(const Vector3&) {}

void StaticField::Update(bool) { SpendAllTime(); }
