#include "modes/MissionJudge.h"

#include <cfloat>

#include "game/Player.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/ObjectKind.h"

namespace {

const Vorn* AsUnit(const WorldObject* object) {
    return object != nullptr && object->kind == kKindVorn ? static_cast<const Vorn*>(object) : nullptr;
}

bool WinsWhenTimeIsUp(MissionGoal goal) {
    return goal == MissionGoal::kSurvive || goal == MissionGoal::kPreventReachBeacon || goal == MissionGoal::kSaveVip ||
           goal == MissionGoal::kSaveVipEnemy;
}

BattleResult Decided(bool won) { return won ? BattleResult::kWon : BattleResult::kLost; }

}  // namespace

MissionJudge::MissionJudge(MissionSettings& settings, const Arena& arena, const Player& local, const Player& computer)
    : settings_(settings), arena_(arena), local_(local), computer_(computer) {}

bool MissionJudge::CountsTime() const {
    switch (settings_.goal) {
        case MissionGoal::kNoGoal: return false;
        case MissionGoal::kSurvive:
        case MissionGoal::kSaveVip:
        case MissionGoal::kSaveVipEnemy:
        case MissionGoal::kDestroyAllVipEnemies: return true;
        default: return settings_.timeLimited;
    }
}

BattleResult MissionJudge::Judge(float elapsed, const Beacon* localBeacon, const Beacon* computerBeacon,
                                 float apexHeight) {
    if (CountsTime()) {
        settings_.goalTime -= elapsed;
        if (settings_.goalTime <= 0.0f) return TimeUp();
    }
    const BattleResult result = GoalTests(localBeacon, computerBeacon, apexHeight);
    if (result != BattleResult::kUndecided) return result;
    return CountUnits(false, false, true) == 0 ? BattleResult::kLost : BattleResult::kUndecided;
}

BattleResult MissionJudge::TimeUp() const { return Decided(WinsWhenTimeIsUp(settings_.goal)); }

BattleResult MissionJudge::GoalTests(const Beacon* localBeacon, const Beacon* computerBeacon, float apexHeight) const {
    const int32_t enemies = CountUnits(true, false, false);
    switch (settings_.goal) {
        case MissionGoal::kNoGoal: return BattleResult::kUndecided;
        case MissionGoal::kSurvive:
            if (!SaveUnitAlive()) return BattleResult::kLost;
            return enemies == 0 ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kDestroyAllEnemies:
            if (settings_.saveTrees && CountTrees() == 0) return BattleResult::kLost;
            if (!SaveUnitAlive()) return BattleResult::kLost;
            if (!settings_.destroyVornName.IsEmpty()) {
                return AnyEnemyNamed(settings_.destroyVornName) ? BattleResult::kUndecided : BattleResult::kWon;
            }
            return enemies == 0 ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kReachBeacon:
            return AnyInside(localBeacon, local_, false) ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kVipReachBeacon:
            if (AnyInside(localBeacon, local_, true)) return BattleResult::kWon;
            return CountUnits(false, true, false) == 0 ? BattleResult::kLost : BattleResult::kUndecided;
        case MissionGoal::kRaceToBeacon: return RaceTest(localBeacon);
        case MissionGoal::kPreventReachBeacon:
            if (AnyInside(computerBeacon, computer_, false)) return BattleResult::kLost;
            return enemies == 0 ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kSaveVip:
            return CountUnits(false, true, false) == 0 ? BattleResult::kLost : BattleResult::kUndecided;
        case MissionGoal::kSaveVipEnemy: {
            const int32_t enemyVips = CountUnits(true, true, false);
            if (enemyVips == 0) return BattleResult::kLost;
            return enemyVips == enemies ? BattleResult::kWon : BattleResult::kUndecided;
        }
        case MissionGoal::kDestroyAllVipEnemies:
            return CountUnits(true, true, false) == 0 ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kReachApex: return AnyOnApex(apexHeight) ? BattleResult::kWon : BattleResult::kUndecided;
        case MissionGoal::kSoccer:
            if (local_.goalCount >= 1 || computer_.goalCount < 0) return BattleResult::kWon;
            if (computer_.goalCount > 0 || local_.goalCount < 0) return BattleResult::kLost;
            return BattleResult::kUndecided;
    }
    return BattleResult::kUndecided;
}

bool MissionJudge::IsAlive(const Vorn& unit) const { return !unit.removed && unit.health > 0.0f; }

bool MissionJudge::AnyInside(const Beacon* beacon, const Player& owner, bool vipOnly) const {
    if (beacon == nullptr) return false;
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit == nullptr || !IsAlive(*unit) || unit->owner != &owner || (vipOnly && unit->vip == 0)) continue;
        if (arena_.WrappedDistance2D(unit->position, beacon->position) < beacon->GetRadius()) return true;
    }
    return false;
}

BattleResult MissionJudge::RaceTest(const Beacon* beacon) const {
    if (beacon == nullptr) return BattleResult::kUndecided;
    const Vorn* nearest = nullptr;
    float best = FLT_MAX;
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit == nullptr || !IsAlive(*unit)) continue;
        const float distance = arena_.WrappedDistance2D(unit->position, beacon->position);
        if (distance < beacon->GetRadius() && distance < best) {
            best = distance;
            nearest = unit;
        }
    }
    if (nearest == nullptr) return BattleResult::kUndecided;
    return Decided(nearest->owner == &local_);
}

bool MissionJudge::AnyOnApex(float apexHeight) const {
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit == nullptr || !IsAlive(*unit) || unit->owner != &local_) continue;
        if (arena_.GetGroundHeight(unit->position.x, unit->position.y) >= apexHeight - 1.0f) return true;
    }
    return false;
}

// Enemy units are every unit the local player does not own; the local player's VIPs
// count only when the scenario placed them, and launched units are those from squads.
int32_t MissionJudge::CountUnits(bool enemy, bool vipOnly, bool launched) const {
    int32_t count = 0;
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit == nullptr || !IsAlive(*unit)) continue;
        if ((unit->owner != &local_) != enemy) continue;
        if (vipOnly && (unit->vip == 0 || (!enemy && unit->squadMember != 0))) continue;
        if (launched && unit->squadMember == 0) continue;
        ++count;
    }
    return count;
}

bool MissionJudge::SaveUnitAlive() const {
    if (settings_.saveVornName.IsEmpty()) return true;
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit != nullptr && IsAlive(*unit) && unit->squadMember == 0 &&
            unit->name.EqualsNoCase(settings_.saveVornName.CStr())) {
            return true;
        }
    }
    return false;
}

bool MissionJudge::AnyEnemyNamed(const String& name) const {
    for (const WorldObject* object : arena_.Objects()) {
        const Vorn* unit = AsUnit(object);
        if (unit != nullptr && IsAlive(*unit) && unit->owner != &local_ && unit->name.EqualsNoCase(name.CStr())) {
            return true;
        }
    }
    return false;
}

int32_t MissionJudge::CountTrees() const {
    int32_t count = 0;
    for (const WorldObject* object : arena_.Objects()) {
        if (object->kind == kKindTree && !object->removed) ++count;
    }
    return count;
}
