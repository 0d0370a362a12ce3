#pragma once
// What a mission file sets: the battle's limits, goal, texts and rewards. Values a file
// leaves out keep what they were (the squad count, goal, scenario and meteor delay) or
// their defaults.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "game/TextPage.h"
#include "modes/MissionGoal.h"
#include "units/WeaponTable.h"

enum class MissionMusic : int32_t { kByGoal, kWar, kSneak };

struct MissionSettings {
    static constexpr int32_t kMaxSquads = 4;

    int32_t maxSquadCount = 1;  // 1..4
    int32_t budget = 100;       // never negative
    int32_t rewardBoosts = 0;
    bool meteorsEnabled = false;
    float meteorDelay = 30.0f;
    Array<TextPage> briefingTexts;
    Array<TextPage> winningTexts;
    Array<Array<TextPage>> losingTexts;  // one list per alternative
    bool weaponAllowed[kWeaponKindCount] = {true, true, true, true, true, true, true, true, true, true, true, true};
    MissionGoal goal = MissionGoal::kNoGoal;
    float goalTime = 0.0f;
    bool timeLimited = false;
    Vector2 beaconPosition;
    String saveVornName;
    String destroyVornName;
    bool saveTrees = false;
    String scenarioName;
    StringArray upgrades;        // single-word lines of the upgrade list
    StringArray secondUpgrades;  // the second word of longer lines
    bool drawFlyBy = false;
    MissionMusic music = MissionMusic::kByGoal;
};
