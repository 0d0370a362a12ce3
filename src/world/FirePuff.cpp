#include "world/FirePuff.h"

FirePuff::FirePuff() { kind = kKindFirePuff; }

void FirePuff::Reset() {}

void FirePuff::Draw(const Vector3&) {}

void FirePuff::Update(bool) { SpendAllTime(); }
