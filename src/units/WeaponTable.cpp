// The rules of the twelve weapon kinds.
#include "units/WeaponTable.h"

#include "core/TextTable.h"
#include "game/Player.h"

namespace {

struct KindTexts {
    const char* name;
    const char* button;
    const char* sound;
};

constexpr KindTexts kKindTexts[kWeaponKindCount] = {
    {"Laser", "LaserButton.tga", "WeaponLaser"},
    {"ShrapnelGun", "ShrapnelGunButton.tga", "WeaponShrapnelGun"},
    {"Explosive", "BombButton.tga", "WeaponBomb"},
    {"Flamethrower", "FlameballButton.tga", "WeaponFlamethrower"},
    {"Propeller", "PropellerButton.tga", "WeaponPropeller"},
    {"BeaconSetter", "BeaconSetterButton.tga", "WeaponBeaconSetter"},
    {"MissileLauncher", "MissileButton.tga", "WeaponMissileGun"},
    {"StaticFieldGenerator", "StaticFieldButton.tga", "WeaponStaticGun"},
    {"GooFieldGenerator", "GooFieldButton.tga", "WeaponGooGun"},
    {"HealthFieldGenerator", "HealthFieldButton.tga", "WeaponHealthGun"},
    {"VornLauncher", "VornLauncherButton.tga", "WeaponVornGun"},
    {"Kicker", "SoccerCleatButton.tga", "WeaponKicker"},
};

struct KindNumbers {
    int32_t cost;
    float reloadTime;
    uint8_t holdFlag;
    float baseValue;
    float damage;
    int32_t baseAmmo;
    float duration;
};

// The launcher's reload is set by each launch (the flight time), hence its -1.
constexpr KindNumbers kKindNumbers[kWeaponKindCount] = {
    {10, 0.5f, 0, 1.0f, 1.0f, -1, 0.0f},  {21, 2.0f, 0, 1.0f, 2.0f, 20, 0.0f}, {6, 0.0f, 0, 4.0f, 12.5f, 1, 0.0f},
    {38, 1.25f, 0, 0.5f, 2.0f, 99, 0.0f}, {21, 8.0f, 0, 0.0f, 0.0f, 6, 0.0f},  {24, 0.0f, 0, 0.0f, 0.0f, -1, 0.0f},
    {90, 2.0f, 0, 6.0f, 10.0f, 20, 0.0f}, {18, 8.0f, 0, 8.0f, 0.0f, 8, 8.0f},  {35, 8.0f, 0, 8.0f, 0.0f, 8, 8.0f},
    {50, 8.0f, 0, 8.0f, 35.0f, 8, 8.0f},  {10, -1.0f, 1, 0.0f, 0.0f, 5, 0.0f}, {5, 0.5f, 0, 1.0f, 2.5f, -1, 0.0f},
};

// The table is built on first use, out of the way of the lookups: they ask for a row
// hundreds of thousands of times a battle and only test the guard inline.
[[gnu::noinline, gnu::cold]] WeaponDefinition* BuildRows() {
    static WeaponDefinition rows[kWeaponKindCount];
    return rows;
}

WeaponDefinition* Rows() {
    static WeaponDefinition* const rows = BuildRows();
    return rows;
}

}  // namespace

const WeaponDefinition* WeaponTable::Row(int32_t kind) {
    if (!IsValidKind(kind)) return nullptr;
    return &Rows()[kind];
}

void LoadWeaponDefinitions() {
    for (int kind = 0; kind < kWeaponKindCount; ++kind) {
        WeaponDefinition& row = Rows()[kind];
        const KindNumbers& numbers = kKindNumbers[kind];
        row.name = kKindTexts[kind].name;
        row.displayName = GetLanguageText(row.name);
        row.buttonImage = kKindTexts[kind].button;
        row.cost = numbers.cost;
        row.reloadTime = numbers.reloadTime;
        row.holdFlag = numbers.holdFlag;
        row.baseValue = numbers.baseValue;
        row.damage = numbers.damage;
        row.baseAmmo = numbers.baseAmmo;
        row.duration = numbers.duration;
    }
}

float GetUpgradeBaseValue(int32_t kind) {
    const WeaponDefinition* row = WeaponTable::Row(kind);
    return row ? row->baseValue : 0.0f;
}

float ShotDamage(const Player* owner, int32_t kind) {
    if (owner != nullptr) return owner->GetUpgradedValue(kind);
    const WeaponDefinition* row = WeaponTable::Row(kind);
    return row ? row->damage : 0.0f;
}

const char* WeaponKindName(int32_t kind) { return WeaponTable::IsValidKind(kind) ? kKindTexts[kind].name : ""; }

const char* WeaponButtonImage(int32_t kind) { return WeaponTable::IsValidKind(kind) ? kKindTexts[kind].button : ""; }

const char* WeaponSoundName(int32_t kind) { return WeaponTable::IsValidKind(kind) ? kKindTexts[kind].sound : ""; }

int32_t FindWeaponKind(const char* name) {
    if (name == nullptr) return kWeaponLaser;
    for (int kind = 0; kind < kWeaponKindCount; ++kind) {
        if (TextEquals(kKindTexts[kind].name, name)) return kind;
    }
    return kWeaponLaser;
}

int32_t FindWeaponKind(const String& name) {
    for (int kind = 0; kind < kWeaponKindCount; ++kind) {
        if (name.EqualsNoCase(kKindTexts[kind].name)) return kind;
    }
    return kWeaponLaser;
}
