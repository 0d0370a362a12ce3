// A player's record as the world and the units see it.
#include "game/Player.h"

#include <algorithm>
#include <iterator>

#include "app/Main.h"
#include "battlefield/ControlTray.h"

Player::Player() { std::fill(std::begin(upgradeLevels), std::end(upgradeLevels), -1); }

void Player::AddKill() { ++kills; }

void Player::AddLoss() {
    ++losses;
    --vornsAlive;
}

void Player::SetSignal1(bool on) {
    signal1 = on ? 1 : 0;
    if (this == &GetLocalPlayer()) GetControlTray().Refresh();
}

void Player::SetSignal2(bool on) {
    signal2 = on ? 1 : 0;
    if (this == &GetLocalPlayer()) GetControlTray().Refresh();
}

int32_t Player::GetChassisChoice(int32_t sizeClass) const {
    if (sizeClass < 0 || sizeClass >= kSizeClassCount) return -1;
    return chassisChoices[sizeClass];
}

bool Player::HasUpgradeLevel(int32_t kind, int32_t level) const {
    if (kind < 0 || kind >= kUpgradeItemCount) return false;
    return upgradeLevels[kind] >= level;
}

float Player::GetChassisMaxHealth(int32_t) const { return 0.0f; }

float Player::GetChassisSpeed(int32_t) const { return 0.0f; }

int32_t Player::GetMaxPatternCount(int32_t) const { return 0; }

float Player::GetUpgradedValue(int32_t) const { return 0.0f; }

int32_t Player::GetWeaponAmmo(int32_t) const { return 0; }

float Player::GetWeaponDuration(int32_t) const { return 0.0f; }

void Player::ApplyColors() {}
