#pragma once
// The fixed catalogue of everything a player can unlock or improve: one row per item,
// addressed by index. Each player holds one level per row; level n costs n boosts.
#include <cstdint>

#include "core/String.h"

struct UpgradeItem {
    String key;    // the item's name in profile and mission files
    String label;  // shown by the upgrade window
    String icon;   // stored only
    int32_t levels = 1;
};

constexpr int32_t kUpgradeItemTotal = 123;
constexpr int32_t kFirstWeaponItem = 99;
constexpr int32_t kFirstChassisItem = 111;

// The catalogue rows. Keys and level counts exist from the first call; the labels come
// from the language texts once BuildUpgradeCatalog has run.
const UpgradeItem& GetUpgradeItem(int32_t item);
// Fills the labels; run once the language texts are loaded.
void BuildUpgradeCatalog();
// The row whose key equals the text without regard to case, or -1.
int32_t FindUpgradeItem(const String& key);
// Highest level of a row; 0 for an index outside the catalogue.
int32_t UpgradeMaxLevel(int32_t item);
int32_t UpgradePrice(int32_t item, int32_t level);
// The value a level gives in one of the per-level tables 'A'..'H': 0 for level -1,
// the level number itself past the table's end.
int32_t UpgradeTableValue(char table, int32_t level);
// The text that describes one level of a row.
String GetUpgradeDescription(int32_t item, int32_t level);
