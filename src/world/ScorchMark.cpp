#include "world/ScorchMark.h"

ScorchMark::ScorchMark() { kind = kKindScorchMark; }

void ScorchMark::Reset() {}

void ScorchMark::Draw(const Vector3&) {}

void ScorchMark::Update(bool) { SpendAllTime(); }
