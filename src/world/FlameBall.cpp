#include "world/FlameBall.h"

FlameBall::FlameBall() { kind = kKindFlameBall; }

void FlameBall::Reset() {}

void FlameBall::Draw(const Vector3&) {}

void FlameBall::Update(bool) { SpendAllTime(); }
