#include "world/ObjectKind.h"

const char* const ObjectKindNames[kObjectKindCount] = {
    "Tree",   "Rock",      "SolarCharger",   "Vorn",           "Meteor",      "LaserBeam", "Beacon",    "SoccerBall",
    "Goal",   "GooField",  "ExplosionField", "StaticField",    "HealthField", "Shrapnel",  "FlameBall", "Missile",
    "Debris", "SmokePuff", "FirePuff",       "FieldGenerator", "ScorchMark",  "WaterRing",
};

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
