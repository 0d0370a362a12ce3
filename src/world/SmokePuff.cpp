#include "world/SmokePuff.h"

SmokePuff::SmokePuff() { kind = kKindSmokePuff; }

void SmokePuff::Reset() {}

void SmokePuff::Draw(const Vector3&) {}

void SmokePuff::Update(bool) { SpendAllTime(); }
