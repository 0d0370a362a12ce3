#include "world/Beacon.h"

Beacon::Beacon() { kind = kKindBeacon; }

void Beacon::Reset() {}

void Beacon::Draw(const Vector3&) {}

void Beacon::Update(bool) { SpendAllTime(); }
