#pragma once
// A player's record as the world and the units see it: signals, scores, colours and the
// chassis choices, and the upgraded values that depend on the player's upgrades.
#include <cstdint>

#include "core/Color.h"
#include "core/String.h"
#include "engine/TextureHandle.h"

class Player {
public:
    static constexpr int kSizeClassCount = 3;     // small, medium, large
    static constexpr int kUpgradeItemCount = 123;  // one level per upgrade catalogue item

    Player();

    void AddKill();
    // One unit lost: losses up, units alive down.
    void AddLoss();
    // Set the signal flag; the local player's control tray shows it at once.
    void SetSignal1(bool on);
    void SetSignal2(bool on);
    // The chassis row chosen for size class 0..2; -1 for any other class.
    int32_t GetChassisChoice(int32_t sizeClass) const;
    // True when this player's level of the upgrade item is at least the level.
    bool HasUpgradeLevel(int32_t kind, int32_t level) const;

    // The values below combine the chassis and weapon tables with the upgrades; an
    // unknown chassis row or weapon kind answers 0.
    float GetChassisMaxHealth(int32_t chassis) const;
    float GetChassisSpeed(int32_t chassis) const;
    int32_t GetMaxPatternCount(int32_t chassis) const;
    float GetUpgradedValue(int32_t weaponKind) const;
    int32_t GetWeaponAmmo(int32_t weaponKind) const;
    float GetWeaponDuration(int32_t weaponKind) const;
    // Recolours the painted parts of the chosen chassis; there is nothing to recolour
    // until the chassis table's textures are loaded.
    void ApplyColors();

    String name;
    uint8_t signal1 = 0;  // copied into each unit's Signal1 every tick
    uint8_t signal2 = 0;
    uint8_t won = 0;
    int32_t goalCount = 0;
    int32_t vipCount = 0;
    int32_t kills = 0;
    int32_t losses = 0;
    int32_t vornsAlive = 0;
    Color primaryColor;
    Color trimColor;
    TextureHandle beaconTexture = nullptr;  // drawn under this player's beacons
    TextureHandle goalTexture = nullptr;    // drawn under this player's goals
    int32_t chassisChoices[kSizeClassCount] = {-1, -1, -1};  // -1: none chosen yet
    // -1 not available, 0 available at the basic level, n bought up to level n.
    int32_t upgradeLevels[kUpgradeItemCount];
};
