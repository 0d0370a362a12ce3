#include "world/Shrapnel.h"

Shrapnel::Shrapnel() { kind = kKindShrapnel; }

void Shrapnel::Reset() {}

void Shrapnel::Draw(const Vector3&) {}

void Shrapnel::Update(bool) { SpendAllTime(); }
