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

Player::Player() {
    texturesCurrent.Set();
    std::fill(std::begin(upgradeLevels), std::end(upgradeLevels), -1);
    std::fill(std::begin(savedUpgradeLevels), std::end(savedUpgradeLevels), -1);
}

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

namespace {

// Catalogue rows: weapon kind w is row 99 + w; each size class has four rows from
// 111 (the chassis itself, speed, pattern count, armour).
constexpr int32_t kSpeedOffset = 1;
constexpr int32_t kPatternOffset = 2;
constexpr int32_t kArmourOffset = 3;

float PercentFactor(int32_t percent) { return 1.0f + static_cast<float>(percent) / 100.0f; }

// The level of a catalogue item; -1 (nothing added) for an item outside the catalogue.
int32_t UpgradeLevel(const Player& player, int32_t item) { return player.GetUpgradeLevel(item); }

// The level of a size class's speed, pattern-count or armour item.
int32_t ChassisUpgradeLevel(const Player& player, int32_t sizeClass, int32_t offset) {
    return UpgradeLevel(player, kFirstChassisItem + sizeClass * 4 + offset);
}

}  // namespace

float Player::GetChassisMaxHealth(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0.0f;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kArmourOffset);
    const int32_t percent = row->sizeClass == 2 ? UpgradeTableValue('A', level) : UpgradeTableValue('E', level);
    return row->baseHealth * PercentFactor(percent);
}

float Player::GetChassisSpeed(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0.0f;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kSpeedOffset);
    const int32_t percent = row->sizeClass == 0 ? UpgradeTableValue('A', level) : UpgradeTableValue('E', level);
    return row->speed * PercentFactor(percent);
}

int32_t Player::GetMaxPatternCount(int32_t chassis) const {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    if (!row) return 0;
    const int32_t level = ChassisUpgradeLevel(*this, row->sizeClass, kPatternOffset);
    switch (row->sizeClass) {
        case 0: return row->basePatternCount + UpgradeTableValue('F', level);
        case 1: return row->basePatternCount + UpgradeTableValue('G', level);
        default: return row->basePatternCount + UpgradeTableValue('H', level);
    }
}

float Player::GetUpgradedValue(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0.0f;
    const bool raised = weaponKind <= kWeaponFlamethrower || weaponKind == kWeaponMissileLauncher;
    const int32_t percent = raised ? UpgradeTableValue('A', UpgradeLevel(*this, kFirstWeaponItem + weaponKind)) : 0;
    return row->damage * PercentFactor(percent);
}

int32_t Player::GetWeaponAmmo(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0;
    if (row->baseAmmo < 0) return row->baseAmmo;
    const int32_t level = UpgradeLevel(*this, kFirstWeaponItem + weaponKind);
    switch (weaponKind) {
        case kWeaponShrapnelGun: return row->baseAmmo + UpgradeTableValue('B', level);
        case kWeaponMissileLauncher: return row->baseAmmo + UpgradeTableValue('C', level);
        case kWeaponPropeller:
        case kWeaponStaticFieldGenerator:
        case kWeaponGooFieldGenerator:
        case kWeaponHealthFieldGenerator:
        case kWeaponVornLauncher: return row->baseAmmo + UpgradeTableValue('D', level);
        default: return row->baseAmmo;
    }
}

float Player::GetWeaponDuration(int32_t weaponKind) const {
    const WeaponDefinition* row = WeaponTable::Row(weaponKind);
    if (!row) return 0.0f;
    const bool fieldGenerator = weaponKind >= kWeaponStaticFieldGenerator && weaponKind <= kWeaponHealthFieldGenerator;
    if (!fieldGenerator) return row->duration;
    return row->duration +
           static_cast<float>(UpgradeTableValue('D', UpgradeLevel(*this, kFirstWeaponItem + weaponKind)));
}
