#pragma once
// The kinds of world objects, their names and the kind tables that the collision rules,
// placement and the network id scheme read.
#include <cstdint>

enum ObjectKind : int32_t {
    kKindTree = 0,
    kKindRock = 1,
    kKindSolarCharger = 2,
    kKindVorn = 3,
    kKindMeteor = 4,
    kKindLaserBeam = 5,
    kKindBeacon = 6,
    kKindSoccerBall = 7,
    kKindGoal = 8,
    kKindGooField = 9,
    kKindExplosionField = 10,
    kKindStaticField = 11,
    kKindHealthField = 12,
    kKindShrapnel = 13,
    kKindFlameBall = 14,
    kKindMissile = 15,
    kKindDebris = 16,
    kKindSmokePuff = 17,
    kKindFirePuff = 18,
    kKindFieldGenerator = 19,
    kKindScorchMark = 20,
    kKindWaterRing = 21,
    // The number of kinds, and the answer of a failed name lookup.
    kKindNone = 22,
};

constexpr int kObjectKindCount = 22;

// "Tree" ... "WaterRing", indexed by kind.
extern const char* const ObjectKindNames[kObjectKindCount];

// One byte per kind, 1 for members.
struct ObjectKindFlags {
    // Things that block movement and take hits.
    static const uint8_t solid[kObjectKindCount];
    // Fast movers that hit solid things but never each other.
    static const uint8_t projectile[kObjectKindCount];
    // Objects that always stand on the terrain.
    static const uint8_t groundBound[kObjectKindCount];
};

// Table look-ups that answer false for kinds outside 0..21.
bool IsKindInRange(int kind);
bool IsSolidKind(int kind);
bool IsProjectileKind(int kind);
bool IsGroundBoundKind(int kind);
// Kinds whose ids every network peer shares: Tree, Rock, SolarCharger, Vorn, LaserBeam,
// SoccerBall, Goal, Missile.
bool IsSyncedKind(int kind);
