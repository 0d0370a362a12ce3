#include "world/Missile.h"

Missile::Missile() { kind = kKindMissile; }

void Missile::Reset() {}

void Missile::Draw(const Vector3&) {}

void Missile::Update(bool) { SpendAllTime(); }
