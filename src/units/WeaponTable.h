#pragma once
// The rules of the twelve weapon kinds: cost, reload, ammunition, damage and the values
// the upgrades raise. Filled once at start-up and read-only afterwards.
#include <cstdint>

#include "core/String.h"

class Player;

enum WeaponKind : int32_t {
    kWeaponLaser = 0,
    kWeaponShrapnelGun = 1,
    kWeaponExplosive = 2,
    kWeaponFlamethrower = 3,
    kWeaponPropeller = 4,
    kWeaponBeaconSetter = 5,
    kWeaponMissileLauncher = 6,
    kWeaponStaticFieldGenerator = 7,
    kWeaponGooFieldGenerator = 8,
    kWeaponHealthFieldGenerator = 9,
    kWeaponVornLauncher = 10,
    kWeaponKicker = 11,
};

constexpr int kWeaponKindCount = 12;

struct WeaponDefinition {
    String name;         // the kind name, also its key in unit files
    String displayName;  // the language text of the kind name
    String buttonImage;
    int32_t cost = 0;         // the kind's share of a unit's cost
    float reloadTime = 0.0f;  // seconds
    uint8_t holdFlag = 0;     // the fire action holds the unit until the shot leaves
    float baseValue = 0.0f;   // blast or field radius; what GetUpgradeBaseValue answers
    float damage = 0.0f;      // what the player's damage upgrade raises
    int32_t baseAmmo = 0;     // shots per battle before upgrades; -1 unlimited
    float duration = 0.0f;    // seconds a thrown field lasts
};

class WeaponTable {
public:
    // The row of a kind, or none outside 0..11: kinds come from files and peers.
    static const WeaponDefinition* Row(int32_t kind);
    static bool IsValidKind(int32_t kind) { return kind >= 0 && kind < kWeaponKindCount; }
};

// Fills the twelve rows (and the display names from the language table).
void LoadWeaponDefinitions();
// The kind's base value, not upgraded; 0 for an unknown kind.
float GetUpgradeBaseValue(int32_t kind);
// The damage of the kind's shot: the owner's upgraded value, or the table's when there
// is no owner (0 for an unknown kind).
float ShotDamage(const Player* owner, int32_t kind);
// The kind name ("Laser" ...), the tray button and the firing sound's name; empty texts
// for an unknown kind.
const char* WeaponKindName(int32_t kind);
const char* WeaponButtonImage(int32_t kind);
const char* WeaponSoundName(int32_t kind);
// The first kind whose name equals the text, 0 ("Laser") when none does: exactly for
// plain text, ignoring case for a String.
int32_t FindWeaponKind(const char* name);
int32_t FindWeaponKind(const String& name);
