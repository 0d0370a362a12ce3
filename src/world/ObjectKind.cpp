#include "world/ObjectKind.h"

const char* const ObjectKindNames[kObjectKindCount] = {
    "Tree",   "Rock",      "SolarCharger",   "Vorn",           "Meteor",      "LaserBeam", "Beacon",    "SoccerBall",
    "Goal",   "GooField",  "ExplosionField", "StaticField",    "HealthField", "Shrapnel",  "FlameBall", "Missile",
    "Debris", "SmokePuff", "FirePuff",       "FieldGenerator", "ScorchMark",  "WaterRing",
};

// Tree Rock Charger Vorn Meteor Laser Beacon Ball Goal Goo Explosion Static Health
// Shrapnel Flame Missile Debris Smoke Fire Generator Scorch Water
const uint8_t ObjectKindFlags::solid[kObjectKindCount] = {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0,
                                                          0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
const uint8_t ObjectKindFlags::projectile[kObjectKindCount] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                                               0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
const uint8_t ObjectKindFlags::groundBound[kObjectKindCount] = {1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0,
                                                                1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1};

bool IsKindInRange(int kind) { return kind >= 0 && kind < kObjectKindCount; }

bool IsSolidKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::solid[kind] != 0; }

bool IsProjectileKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::projectile[kind] != 0; }

bool IsGroundBoundKind(int kind) { return IsKindInRange(kind) && ObjectKindFlags::groundBound[kind] != 0; }

bool IsSyncedKind(int kind) {
    switch (kind) {
        case kKindTree:
        case kKindRock:
        case kKindSolarCharger:
        case kKindVorn:
        case kKindLaserBeam:
        case kKindSoccerBall:
        case kKindGoal:
        case kKindMissile: return true;
        default: return false;
    }
}
