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
    // Tree Rock Charger Vorn Meteor Laser Beacon Ball Goal Goo Explosion Static Health
    // Shrapnel Flame Missile Debris Smoke Fire Generator Scorch Water
    // Things that block movement and take hits.
    static constexpr uint8_t solid[kObjectKindCount] = {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0,
                                                        0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    // Fast movers that hit solid things but never each other.
    static constexpr uint8_t projectile[kObjectKindCount] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                                             0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
    // Objects that always stand on the terrain.
    static constexpr uint8_t groundBound[kObjectKindCount] = {1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0,
                                                              1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    // What units see, bump into or are hit by: the solid kinds, the pattern targets and
    // the projectiles but flame balls. The arena keeps them in a grid of their own, so
    // that walks for these leave the crowd of flames, smoke and marks aside.
    static constexpr uint8_t body[kObjectKindCount] = {1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0,
                                                       1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0};
    // What patterns can name: the objects of each kind answer IsPatternTarget so.
    static constexpr uint8_t patternTarget[kObjectKindCount] = {1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 0,
                                                                1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
};

// Table look-ups that answer false for kinds outside 0..21. Inline: the collision and
// matcher walks ask them for every object they meet.
constexpr bool IsKindInRange(int kind) { return kind >= 0 && kind < kObjectKindCount; }
constexpr bool IsSolidKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::solid[kind] != 0; }
constexpr bool IsProjectileKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::projectile[kind] != 0; }
constexpr bool IsGroundBoundKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::groundBound[kind] != 0; }
constexpr bool IsBodyKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::body[kind] != 0; }
constexpr bool IsPatternTargetKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::patternTarget[kind] != 0; }

// Whether a mover of kind a may hit an object of kind b by their kinds alone: flame balls
// meet rocks only, debris meets neither debris nor projectiles, and a pair hits when
// one side is solid and the other solid or a projectile.
constexpr bool KindRuleCollides(int a, int b) {
    if (a == kKindFlameBall || b == kKindFlameBall) {
        return (a == kKindFlameBall && b == kKindRock) || (a == kKindRock && b == kKindFlameBall);
    }
    if (a == kKindDebris && b == kKindDebris) {
        return false;
    }
    if ((IsProjectileKind(a) && b == kKindDebris) || (a == kKindDebris && IsProjectileKind(b))) {
        return false;
    }
    if (!IsSolidKind(a) && !IsSolidKind(b)) {
        return false;
    }
    if (!IsProjectileKind(a) && !IsSolidKind(a)) {
        return false;
    }
    return IsProjectileKind(b) || IsSolidKind(b);
}

// The rule above worked out once for every pair of kinds.
struct KindPairTable {
    bool collides[kObjectKindCount][kObjectKindCount] = {};
    constexpr KindPairTable() {
        for (int a = 0; a < kObjectKindCount; ++a) {
            for (int b = 0; b < kObjectKindCount; ++b) {
                collides[a][b] = KindRuleCollides(a, b);
            }
        }
    }
};
inline constexpr KindPairTable kKindPairs;

// KindRuleCollides by table; kinds outside 0..21 hit nothing.
constexpr bool KindsCollide(int a, int b) { return IsKindInRange(a) && IsKindInRange(b) && kKindPairs.collides[a][b]; }

// Whether a mover of kind a can hit nothing but body kinds, so that its collision walk
// may use the arena's grid of bodies; worked out once for every kind.
struct BodyMoverTable {
    bool hitsOnlyBodies[kObjectKindCount] = {};
    constexpr BodyMoverTable() {
        for (int a = 0; a < kObjectKindCount; ++a) {
            hitsOnlyBodies[a] = true;
            for (int b = 0; b < kObjectKindCount; ++b) {
                if (!IsBodyKind(b) && KindsCollide(a, b)) {
                    hitsOnlyBodies[a] = false;
                }
            }
        }
    }
};
inline constexpr BodyMoverTable kBodyMovers;
constexpr bool HitsOnlyBodies(int a) { return IsKindInRange(a) && kBodyMovers.hitsOnlyBodies[a]; }
static_assert(HitsOnlyBodies(kKindVorn) && HitsOnlyBodies(kKindFlameBall) && !HitsOnlyBodies(kKindRock));

// Whether a mover of kind a can hit rocks and nothing else (a flame ball), so that its
// collision walk meets nothing where the cells hold no rock.
constexpr bool HitsOnlyRocks(int a) {
    if (!IsKindInRange(a) || !KindsCollide(a, kKindRock)) {
        return false;
    }
    for (int b = 0; b < kObjectKindCount; ++b) {
        if (b != kKindRock && KindsCollide(a, b)) {
            return false;
        }
    }
    return true;
}
static_assert(HitsOnlyRocks(kKindFlameBall) && !HitsOnlyRocks(kKindVorn) && !HitsOnlyRocks(kKindRock));

// Kinds whose ids every network peer shares: Tree, Rock, SolarCharger, Vorn, LaserBeam,
// SoccerBall, Goal, Missile.
bool IsSyncedKind(int kind);
