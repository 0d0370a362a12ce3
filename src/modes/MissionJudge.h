#pragma once
// Decides a mission battle by its goal, once per frame: the goal time counts down, then
// the goal's own tests run in a fixed order, then the common test (no launched unit of
// the local player left). The first test that decides is the result.
#include <cstdint>

#include "modes/MissionSettings.h"

class Arena;
class Beacon;
class Player;
class Vorn;

enum class BattleResult { kUndecided, kWon, kLost };

class MissionJudge {
public:
    MissionJudge(MissionSettings& settings, const Arena& arena, const Player& local, const Player& computer);

    // Whether the goal shows and counts its time: always for the timed goals, else only
    // when the mission sets a time limit.
    bool CountsTime() const;
    // One frame of `elapsed` seconds. A beacon that is missing counts as not reached.
    BattleResult Judge(float elapsed, const Beacon* localBeacon, const Beacon* computerBeacon, float apexHeight);

private:
    BattleResult TimeUp() const;
    BattleResult GoalTests(const Beacon* localBeacon, const Beacon* computerBeacon, float apexHeight) const;
    BattleResult RaceTest(const Beacon* beacon) const;
    bool AnyInside(const Beacon* beacon, const Player& owner, bool vipOnly) const;
    bool AnyOnApex(float apexHeight) const;
    int32_t CountUnits(bool enemy, bool vipOnly, bool launched) const;
    bool SaveUnitAlive() const;
    bool AnyEnemyNamed(const String& name) const;
    int32_t CountTrees() const;
    bool IsAlive(const Vorn& unit) const;

    MissionSettings& settings_;
    const Arena& arena_;
    const Player& local_;
    const Player& computer_;
};
