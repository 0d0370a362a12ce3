#include "modes/MissionGoal.h"

namespace {

constexpr const char* kNames[kMissionGoalCount] = {"NoGoal",
                                                   "Survive",
                                                   "DestroyAllEnemies",
                                                   "ReachBeacon",
                                                   "VIPReachBeacon",
                                                   "RaceToBeacon",
                                                   "PreventReachBeacon",
                                                   "SaveVIP",
                                                   "SaveVIPEnemy",
                                                   "DestroyAllVIPEnemies",
                                                   "ReachApex",
                                                   "Soccer"};

}  // namespace

bool MissionGoalFromName(const String& name, MissionGoal& goal) {
    for (int32_t i = 0; i < kMissionGoalCount; ++i) {
        if (name.EqualsNoCase(kNames[i])) {
            goal = static_cast<MissionGoal>(i);
            return true;
        }
    }
    return false;
}

const char* MissionGoalName(MissionGoal goal) {
    const auto index = static_cast<int32_t>(goal);
    return index >= 0 && index < kMissionGoalCount ? kNames[index] : "";
}
