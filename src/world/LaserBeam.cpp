#include "world/LaserBeam.h"

LaserBeam::LaserBeam() { kind = kKindLaserBeam; }

void LaserBeam::Reset() {}

void LaserBeam::Draw(const Vector3&) {}

void LaserBeam::Update(bool) { SpendAllTime(); }
