#include "world/Debris.h"

Debris::Debris() { kind = kKindDebris; }

void Debris::Reset() {}

void Debris::Draw(const Vector3&) {}

void Debris::Update(bool) { SpendAllTime(); }
