#include "world/WaterRing.h"

WaterRing::WaterRing() { kind = kKindWaterRing; }

void WaterRing::Reset() {}

void WaterRing::Draw(const Vector3&) {}

void WaterRing::Update(bool) { SpendAllTime(); }
