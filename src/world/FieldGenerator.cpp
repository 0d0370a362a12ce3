#include "world/FieldGenerator.h"

FieldGenerator::FieldGenerator() { kind = kKindFieldGenerator; }

void FieldGenerator::Reset() {}

void FieldGenerator::Draw(const Vector3&) {}

void FieldGenerator::Update(bool) { SpendAllTime(); }
