#include "world/GooField.h"

GooField::GooField() : Field(kKindGooField) {}

void GooField::Reset() {}

void GooField::Draw(const Vector3&) {}

void GooField::Update(bool) { SpendAllTime(); }
