// A player's record as the world and the units see it.
#include "game/Player.h"

#include <algorithm>
#include <iterator>

#include "game/GameListener.h"
#include "game/PlayerRoster.h"
#include "units/ChassisTable.h"
#include "units/WeaponTable.h"

namespace {

// The control tray shows the local player's signals.
void TellLocalSignalChanged(const Player& player) {
    GameListener* listener = GetGameListener();
    if (listener != nullptr && &player == &GetLocalPlayer()) listener->OnControlsChanged();
}

}  // namespace

Player::Player() { std::fill(std::begin(upgradeLevels), std::end(upgradeLevels), -1); }

void Player::AddKill() { ++kills; }

void Player::AddLoss() {
    ++losses;
    --vornsAlive;
}

void Player::SetSignal1(bool on) {
    signal1 = on ? 1 : 0;
    TellLocalSignalChanged(*this);
}

void Player::SetSignal2(bool on) {
    signal2 = on ? 1 : 0;
    TellLocalSignalChanged(*this);
}

int32_t Player::GetChassisChoice(int32_t sizeClass) const {
    if (sizeClass < 0 || sizeClass >= kSizeClassCount) return -1;
    return chassisChoices[sizeClass];
}

bool Player::HasUpgradeLevel(int32_t kind, int32_t level) const {
    if (kind < 0 || kind >= kUpgradeItemCount) return false;
    return upgradeLevels[kind] >= level;
}

namespace {

// The value of a bought level. A level of -1 (not available) adds nothing, and levels
// past the end of a table add the level number itself.
template <int N>
int32_t LevelValue(const int32_t (&table)[N], int32_t level) {
    if (level < 0) return 0;
    if (level >= N) return level;
    return table[level];
}

constexpr int32_t kTableA[] = {0, 10, 20, 30, 40, 50};
constexpr int32_t kTableB[] = {0, 4, 8, 12, 16, 20};
constexpr int32_t kTableC[] = {0, 2, 4, 6, 8, 10};
constexpr int32_t kTableD[] = {0, 1, 2, 3, 4, 5};
constexpr int32_t kTableE[] = {0, 20, 40, 60, 80, 100};
constexpr int32_t kTableF[] = {0, 1, 2, 3, 4};
constexpr int32_t kTableG[] = {0, 1, 2, 4, 6};
constexpr int32_t kTableH[] = {0, 1, 2, 4, 6, 8};

// Catalogue rows: weapon kind w is row 99 + w; each size class has four rows from
// 111 (the chassis itself, speed, pattern count, armour).
constexpr int32_t kWeaponUpgradeRow = 99;
constexpr int32_t kChassisUpgradeRow = 111;
constexpr int32_t kSpeedOffset = 1;
constexpr int32_t kPatternOffset = 2;
constexpr int32_t kArmourOffset = 3;

float PercentFactor(int32_t percent) { return 1.0f + static_cast<float>(percent) / 100.0f; }

// The level of a catalogue item; -1 (nothing added) for an item outside the catalogue.
int32_t UpgradeLevel(const Player& player, int32_t item) {
    if (item < 0 || item >= Player::kUpgradeItemCount) return -1;
    return player.upgradeLevels[item];
}

// The level of a size class's speed, pattern-count or armour item.
int32_t ChassisUpgradeLevel(const Player& player, int32_t sizeClass, int32_t offset) {
    return UpgradeLevel(player, kChassisUpgradeRow + sizeClass * 4 + offset);
}

}  // namespace

float Player::GetChassisMaxHealth(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0.0f;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kArmourOffset);
    const int32_t percent = row->sizeClass == 2 ? LevelValue(kTableA, level) : LevelValue(kTableE, level);
    return row->baseHealth * PercentFactor(percent);
}

float Player::GetChassisSpeed(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0.0f;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kSpeedOffset);
    const int32_t percent = row->sizeClass == 0 ? LevelValue(kTableA, level) : LevelValue(kTableE, level);
    return row->speed * PercentFactor(percent);
}

int32_t Player::GetMaxPatternCount(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kPatternOffset);
    switch (row->sizeClass) {
        case 0:
            return row->basePatternCount + LevelValue(kTableF, level);
        case 1:
            return row->basePatternCount + LevelValue(kTableG, level);
        default:
            return row->basePatternCount + LevelValue(kTableH, level);
    }
}

float Player::GetUpgradedValue(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0.0f;
    const bool raised = weaponKind <= kWeaponFlamethrower || weaponKind == kWeaponMissileLauncher;
    const int32_t percent = raised ? LevelValue(kTableA, UpgradeLevel(*this, kWeaponUpgradeRow + weaponKind)) : 0;
    return row->damage * PercentFactor(percent);
}

int32_t Player::GetWeaponAmmo(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0;
    if (row->baseAmmo < 0) return row->baseAmmo;
    const int32_t level = UpgradeLevel(*this, kWeaponUpgradeRow + weaponKind);
    switch (weaponKind) {
        case kWeaponShrapnelGun:
            return row->baseAmmo + LevelValue(kTableB, level);
        case kWeaponMissileLauncher:
            return row->baseAmmo + LevelValue(kTableC, level);
        case kWeaponPropeller:
        case kWeaponStaticFieldGenerator:
        case kWeaponGooFieldGenerator:
        case kWeaponHealthFieldGenerator:
        case kWeaponVornLauncher:
            return row->baseAmmo + LevelValue(kTableD, level);
        default:
            return row->baseAmmo;
    }
}

float Player::GetWeaponDuration(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0.0f;
    const bool fieldGenerator = weaponKind >= kWeaponStaticFieldGenerator && weaponKind <= kWeaponHealthFieldGenerator;
    if (!fieldGenerator) return row->duration;
    return row->duration + static_cast<float>(LevelValue(kTableD, UpgradeLevel(*this, kWeaponUpgradeRow + weaponKind)));
}

void Player::ApplyColors() {}
