// The player-built combat unit.
#include "units/Vorn.h"

#include "app/TextTable.h"

namespace {
// A unit stands in a sphere of this radius until its chassis gives it another.
constexpr float kDefaultRadius = 1.0f;
}  // namespace

Vorn::Vorn() {
    kind = kKindVorn;
    Reset();
}

void Vorn::Reset() {
    beacon = nullptr;
    owner = nullptr;
    name = GetLanguageText("NoName");
    chassisType = -1;
    vip = 0;
    doneThisTick = 0;
    weaponKinds[0] = 0;
    weaponKinds[1] = 0;
    shape.SetSphere(position, kDefaultRadius);
    SetTimeBudget(0.0f);
}

void Vorn::Draw(const Vector3&) {}

void Vorn::Update(bool) { SpendAllTime(); }

void Vorn::SetAngle(float angle) { heading = angle; }

void Vorn::SetPlayer(Player* player) { owner = player; }

bool Vorn::LoadFile(const String&) { return false; }

void Vorn::PrepareForBattle() {}

void Vorn::BuildBody(int32_t) {}

void Vorn::ApplyPatternSlots() {}

void Vorn::SetWeaponKind(int32_t place, int32_t weaponKind) {
    if (place < 0 || place > 1) return;
    weaponKinds[place] = weaponKind;
}
