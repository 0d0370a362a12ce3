#pragma once
// The goals a mission can set, in the order of their names in mission files.
#include <cstdint>

#include "core/String.h"

enum class MissionGoal : int32_t {
    kNoGoal,
    kSurvive,
    kDestroyAllEnemies,
    kReachBeacon,
    kVipReachBeacon,
    kRaceToBeacon,
    kPreventReachBeacon,
    kSaveVip,
    kSaveVipEnemy,
    kDestroyAllVipEnemies,
    kReachApex,
    kSoccer,
};

constexpr int32_t kMissionGoalCount = 12;

// The goal of that name without regard to case; false for a name not in the table.
bool MissionGoalFromName(const String& name, MissionGoal& goal);
const char* MissionGoalName(MissionGoal goal);
