// Every mission goal decided both ways on a headless battlefield: the battle runs frame
// by frame until the goal is won, and again until it is lost.
#include <gtest/gtest.h>

#include <functional>

#include "modes/MissionJudge.h"
#include "support/VornTestWorld.h"
#include "world/Beacon.h"

namespace {

class MissionJudgeTest : public VornTestWorld {
protected:
    Vorn* Unit(Player& owner, float x, float y, bool launched, bool vip = false, const char* name = "Unit") {
        Vorn* unit = arena->NewVorn(launched ? 1 : 0);
        unit->BuildBody(kRobotSmall);
        unit->SetPlayer(&owner);
        unit->SetDefaults();
        unit->name = name;
        unit->vip = vip ? 1 : 0;
        unit->SetPosition(Vector3(x, y, 0.0f));
        arena->AddObject(unit);
        return unit;
    }
    Beacon* PlaceBeacon(Player& owner, float x, float y) {
        Beacon* beacon = arena->NewBeacon();
        beacon->SetPosition(Vector3(x, y, 0.0f));
        arena->AddObject(beacon);
        (&owner == &red ? localBeacon : computerBeacon) = beacon;
        return beacon;
    }
    // Frames of a tenth of a second until the goal decides, at most two minutes; the
    // event happens after one second of battle.
    BattleResult Run(MissionGoal goal, const std::function<void()>& event, float time = 0.0f, bool limited = false) {
        settings.goal = goal;
        settings.goalTime = time;
        settings.timeLimited = limited;
        MissionJudge judge(settings, *arena, red, blue);
        for (int frame = 0; frame < 1200; ++frame) {
            if (frame == 10 && event) event();
            const BattleResult result = judge.Judge(0.1f, localBeacon, computerBeacon, apex);
            if (result != BattleResult::kUndecided) return result;
        }
        return BattleResult::kUndecided;
    }
    static void Kill(Vorn* unit) { unit->removed = true; }

    MissionSettings settings;
    Beacon* localBeacon = nullptr;
    Beacon* computerBeacon = nullptr;
    float apex = 0.0f;
};

TEST_F(MissionJudgeTest, NoGoalIsOnlyLostWhenTheLaunchedUnitsAreGone) {
    Vorn* mine = Unit(red, 10, 10, true);
    EXPECT_EQ(Run(MissionGoal::kNoGoal, nullptr), BattleResult::kUndecided);
    EXPECT_EQ(Run(MissionGoal::kNoGoal, [&] { Kill(mine); }), BattleResult::kLost);
}

TEST_F(MissionJudgeTest, SurviveByTimeOrLosingTheSaveUnit) {
    Unit(red, 10, 10, true);
    Unit(blue, 50, 50, false);
    Vorn* hero = Unit(red, 20, 20, false, false, "Hero");
    settings.saveVornName = "hero";
    EXPECT_EQ(Run(MissionGoal::kSurvive, nullptr, 5.0f), BattleResult::kWon);
    EXPECT_EQ(Run(
                  MissionGoal::kSurvive, [&] { Kill(hero); }, 5.0f),
              BattleResult::kLost);
    settings.saveVornName = "Nobody";  // a save unit the scenario lacks loses at once
    EXPECT_EQ(Run(MissionGoal::kSurvive, nullptr, 5.0f), BattleResult::kLost);
}

TEST_F(MissionJudgeTest, DestroyAllEnemiesBeforeTheLimitAndWhileTreesStand) {
    Unit(red, 10, 10, true);
    Vorn* enemy = Unit(blue, 50, 50, false, false, "Boss");
    Unit(blue, 60, 60, false, false, "Minion");
    settings.destroyVornName = "boss";
    EXPECT_EQ(Run(
                  MissionGoal::kDestroyAllEnemies, [&] { Kill(enemy); }, 30.0f, true),
              BattleResult::kWon);
    enemy->ClearRemoved();
    EXPECT_EQ(Run(MissionGoal::kDestroyAllEnemies, nullptr, 30.0f, true), BattleResult::kLost);
    settings.destroyVornName.Clear();
    settings.saveTrees = true;  // no tree on this battlefield
    EXPECT_EQ(Run(MissionGoal::kDestroyAllEnemies, nullptr), BattleResult::kLost);
}

TEST_F(MissionJudgeTest, BeaconGoals) {
    Vorn* mine = Unit(red, 10, 10, true);
    Vorn* vip = Unit(red, 12, 12, false, true);
    Vorn* enemy = Unit(blue, 100, 100, false);
    PlaceBeacon(red, 40, 40);
    EXPECT_EQ(Run(
                  MissionGoal::kReachBeacon, [&] { mine->SetPosition(Vector3(40.5f, 40, 0)); }, 30, true),
              BattleResult::kWon);
    mine->SetPosition(Vector3(10, 10, 0));
    EXPECT_EQ(Run(MissionGoal::kReachBeacon, nullptr, 30, true), BattleResult::kLost);
    EXPECT_EQ(Run(MissionGoal::kVipReachBeacon, [&] { vip->SetPosition(Vector3(40, 41, 0)); }), BattleResult::kWon);
    vip->SetPosition(Vector3(12, 12, 0));
    EXPECT_EQ(Run(MissionGoal::kVipReachBeacon, [&] { Kill(vip); }), BattleResult::kLost);

    PlaceBeacon(blue, 40, 40);  // a race puts both beacons on one spot
    EXPECT_EQ(Run(MissionGoal::kRaceToBeacon,
                  [&] {
                      mine->SetPosition(Vector3(40.5f, 40, 0));
                      enemy->SetPosition(Vector3(41, 40, 0));
                  }),
              BattleResult::kWon);
    mine->SetPosition(Vector3(40, 41, 0));
    enemy->SetPosition(Vector3(41, 40, 0));  // the same distance: the earlier unit decides
    EXPECT_EQ(Run(MissionGoal::kRaceToBeacon, nullptr), BattleResult::kWon);
    mine->SetPosition(Vector3(10, 10, 0));
    EXPECT_EQ(Run(MissionGoal::kRaceToBeacon, nullptr), BattleResult::kLost);
    enemy->SetPosition(Vector3(100, 100, 0));
    EXPECT_EQ(Run(MissionGoal::kPreventReachBeacon, nullptr, 20, true), BattleResult::kWon);
    EXPECT_EQ(Run(
                  MissionGoal::kPreventReachBeacon, [&] { enemy->SetPosition(Vector3(40, 40.5f, 0)); }, 20, true),
              BattleResult::kLost);
    computerBeacon = nullptr;  // a beacon taken away counts as never reached
    EXPECT_EQ(Run(MissionGoal::kPreventReachBeacon, nullptr, 20, true), BattleResult::kWon);
}

TEST_F(MissionJudgeTest, VipGoals) {
    Unit(red, 10, 10, true);
    Vorn* myVip = Unit(red, 12, 12, false, true);
    Vorn* enemyVip = Unit(blue, 50, 50, false, true);
    Vorn* guard = Unit(blue, 60, 60, false);
    EXPECT_EQ(Run(MissionGoal::kSaveVip, nullptr, 10), BattleResult::kWon);
    EXPECT_EQ(Run(
                  MissionGoal::kSaveVip, [&] { Kill(myVip); }, 10),
              BattleResult::kLost);
    EXPECT_EQ(Run(
                  MissionGoal::kSaveVipEnemy, [&] { Kill(guard); }, 60),
              BattleResult::kWon);
    guard->ClearRemoved();
    EXPECT_EQ(Run(
                  MissionGoal::kSaveVipEnemy, [&] { Kill(enemyVip); }, 60),
              BattleResult::kLost);
    enemyVip->ClearRemoved();
    EXPECT_EQ(Run(
                  MissionGoal::kDestroyAllVipEnemies, [&] { Kill(enemyVip); }, 60),
              BattleResult::kWon);
    enemyVip->ClearRemoved();
    EXPECT_EQ(Run(MissionGoal::kDestroyAllVipEnemies, nullptr, 60), BattleResult::kLost);
}

TEST_F(MissionJudgeTest, ApexAndSoccer) {
    Unit(red, 10, 10, true);
    Unit(blue, 50, 50, false);
    apex = 0.5f;  // flat ground at 0 is within 1.0 of it
    EXPECT_EQ(Run(MissionGoal::kReachApex, nullptr, 30, true), BattleResult::kWon);
    apex = 10.0f;
    EXPECT_EQ(Run(MissionGoal::kReachApex, nullptr, 30, true), BattleResult::kLost);
    EXPECT_EQ(Run(
                  MissionGoal::kSoccer, [&] { red.goalCount = 1; }, 60, true),
              BattleResult::kWon);
    red.goalCount = 0;
    EXPECT_EQ(Run(
                  MissionGoal::kSoccer, [&] { red.goalCount = -1; }, 60, true),
              BattleResult::kLost);
    red.goalCount = 0;
    EXPECT_EQ(Run(MissionGoal::kSoccer, nullptr, 60, true), BattleResult::kLost);
}

}  // namespace
