// The player's upgrade levels: queries, purchases and the levels a tutorial or a
// training game lends for a while.
#include <algorithm>
#include <iterator>

#include "game/Player.h"
#include "game/PlayerRoster.h"

namespace {

constexpr int32_t kFirstConditionalItem = 49;
constexpr int32_t kConditionalCount = 12;
constexpr int32_t kPatternPrioritiesItem = 47;
constexpr int32_t kFirstMapTestItem = 61;
constexpr int32_t kMapTestCount = 6;
constexpr int32_t kPatternCountItems[] = {113, 117, 121};
// Pattern object kinds of the pattern editor and the item each needs.
constexpr int32_t kPatternKindItems[] = {75, 76, 77, 78, 108, 107, 106, 79, 80, 81, 82, 83};

int32_t Clamped(int32_t item, int32_t level) { return std::clamp(level, -1, UpgradeMaxLevel(item)); }

bool ValidItem(int32_t item) { return item >= 0 && item < Player::kUpgradeItemCount; }

}  // namespace

int32_t Player::GetUpgradeLevel(int32_t item) const { return ValidItem(item) ? upgradeLevels[item] : -1; }

bool Player::HasUpgradeLevel(int32_t item, int32_t level) const {
    return ValidItem(item) && upgradeLevels[item] >= level;
}

bool Player::IsItemAvailable(int32_t conditional) const {
    if (conditional < 0 || conditional >= kConditionalCount) return false;
    return HasUpgradeLevel(kFirstConditionalItem + conditional, 0);
}

bool Player::IsFeatureAvailable() const { return HasUpgradeLevel(kPatternPrioritiesItem, 0); }

bool Player::IsPropertyAvailable(int32_t mapConditional) const {
    if (mapConditional < 0 || mapConditional >= kMapTestCount) return false;
    return HasUpgradeLevel(kFirstMapTestItem + mapConditional, 0);
}

bool Player::IsPatternKindAvailable(int32_t kind) const {
    if (kind < 0 || kind >= static_cast<int32_t>(std::size(kPatternKindItems))) return false;
    return HasUpgradeLevel(kPatternKindItems[kind], 0);
}

void Player::SetUpgradeLevel(int32_t item, int32_t level) {
    if (ValidItem(item)) upgradeLevels[item] = Clamped(item, level);
}

bool Player::CanBuyUpgrade(int32_t item, int32_t level) const {
    if (!ValidItem(item)) return false;
    if (level != upgradeLevels[item] + 1 || level > UpgradeMaxLevel(item) || level < 1) return false;
    return UpgradePrice(item, level) <= GetLocalPlayer().boosts;
}

void Player::UnlockUpgrade(const String& key) {
    const int32_t item = FindUpgradeItem(key);
    if (item >= 0 && upgradeLevels[item] == -1) upgradeLevels[item] = 0;
}

void Player::MaxAllUpgradeLevels() {
    for (int32_t item = 0; item < kUpgradeItemCount; ++item) upgradeLevels[item] = UpgradeMaxLevel(item);
}

void Player::SetAllUpgradeLevels(int32_t level) {
    for (int32_t item = 0; item < kUpgradeItemCount; ++item) upgradeLevels[item] = Clamped(item, level);
}

void Player::UnlockAllUpgrades() {
    for (int32_t& level : upgradeLevels) level = std::max(level, 0);
}

void Player::UnlockAllUpgradesAndMaxPatterns() {
    UnlockAllUpgrades();
    for (int32_t item : kPatternCountItems) upgradeLevels[item] = UpgradeMaxLevel(item);
}

void Player::UseBasicUpgradeLevels() {
    // A second loan must not overwrite the player's own levels with lent ones.
    if (!lending_) std::copy(std::begin(upgradeLevels), std::end(upgradeLevels), savedUpgradeLevels);
    lending_ = true;
    for (int32_t& level : upgradeLevels) level = std::min(level, 0);
}

void Player::UseUpgradeLevelsOf(const Player& other) {
    if (!lending_) std::copy(std::begin(upgradeLevels), std::end(upgradeLevels), savedUpgradeLevels);
    lending_ = true;
    for (int32_t item = 0; item < kUpgradeItemCount; ++item)
        upgradeLevels[item] = Clamped(item, other.upgradeLevels[item]);
}

void Player::RestoreUpgradeLevels() {
    if (!lending_) return;
    std::copy(std::begin(savedUpgradeLevels), std::end(savedUpgradeLevels), upgradeLevels);
    lending_ = false;
}
