// The unit's tick loop, its action queue and the actions.
#include <algorithm>
#include <cmath>
#include <vector>

#include "support/LogLines.h"
#include "support/VornTestWorld.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "world/StaticField.h"
#include "world/TerrainType.h"
#include "world/WaterRing.h"

namespace {

using VornBehaviourTest = VornTestWorld;

PathPoint* Point(Arena& arena, float x, float y) {
    PathPoint* point = arena.NewPathPoint();
    point->worldPosition = Vector3(x, y, 0.0f);
    return point;
}

Action* AddAction(PathPoint* point, int kind, float x, float y) {
    Action* action = point->AddAction();
    action->kind = kind;
    action->worldPoint = Vector3(x, y, 0.0f);
    return action;
}

TEST_F(VornBehaviourTest, PathQueuesEachPointsActionsThenTheWalkToTheNext) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    Array<PathPoint*> path;
    path.Append(Point(*arena, 50.0f, 50.0f));
    path.Append(Point(*arena, 60.0f, 50.0f));
    path.Append(Point(*arena, 60.0f, 60.0f));
    AddAction(path[1], kActionSetSwitch1, 0.0f, 0.0f);
    AddAction(path[1], kActionFire1, 70.0f, 70.0f);
    AddAction(path[2], kActionSetTimer, 0.0f, 0.0f)->seconds = 1.5f;
    unit->QueuePatternActions(path);

    const int expected[] = {VornAction::kWalk, VornAction::kSetSwitch1, VornAction::kFire1, VornAction::kWalk,
                            VornAction::kSetTimer};
    ASSERT_EQ(unit->actionQueue.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(unit->actionQueue[i]->kind, expected[i]) << i;
    }
    EXPECT_EQ(unit->currentAction, unit->actionQueue[0]);
    EXPECT_EQ(unit->actionQueue[0]->firstOfPattern, 1);
    // Without a facing handle the walk faces on one unit along its direction.
    EXPECT_EQ(unit->actionQueue[0]->pointA, Vector3(60.0f, 50.0f, 0.0f));
    EXPECT_EQ(unit->actionQueue[0]->pointB, Vector3(61.0f, 50.0f, 0.0f));
    EXPECT_EQ(unit->actionQueue[2]->pointA, Vector3(70.0f, 70.0f, 0.0f));
    EXPECT_FLOAT_EQ(unit->actionQueue[4]->timerValue, 1.5f);
    for (PathPoint* point : path) {
        point->Clear();
        arena->FreePathPoint(point);
    }
}

TEST_F(VornBehaviourTest, SetTimerExpiresOneStepEarlyAndRunsUntilZero) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->setTimer = 0.5f;
    EXPECT_TRUE(unit->SpendTimeRunning(0.3f));
    EXPECT_NEAR(unit->setTimer, 0.2f, 1e-6f);
    EXPECT_EQ(unit->conditionals[Vorn::kTimerExpired], 1);
    EXPECT_FALSE(unit->SpendTimeRunning(0.2f));
    EXPECT_EQ(unit->conditionals[Vorn::kTimerRunning], 0);
}

TEST_F(VornBehaviourTest, InstantActionsCostAHundredthEachAndReport) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    Queue(unit, VornAction::kSetSwitch2);
    Queue(unit, VornAction::kSetSignal1);
    Queue(unit, VornAction::kSetTimer)->timerValue = 2.0f;
    Queue(unit, 99);
    unit->SetTimeBudget(0.05f);
    unit->RunActions();
    EXPECT_EQ(unit->conditionals[Vorn::kSwitch2], 1);
    EXPECT_EQ(red.signal1, 1);
    EXPECT_NEAR(unit->setTimer, 2.0f - 0.01f, 1e-5f);
    // The unknown kind finished at no cost and without a report.
    EXPECT_NEAR(unit->timeBudget, 0.02f, 1e-6f);
    EXPECT_EQ(unit->currentAction, nullptr);
    EXPECT_EQ(game.reportedKinds.size(), 3u);
}

TEST_F(VornBehaviourTest, ActionsThatNeverSpendAreCutOffAfterAThousand) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    for (int i = 0; i < 1500; ++i) {
        Queue(unit, 99);
    }
    unit->SetTimeBudget(0.1f);
    platform_test::LogLines log;
    unit->RunActions();
    EXPECT_TRUE(log.HasLineWith({"1000 actions in one tick"})) << log.Text();
    const std::string text = log.Text();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "the next line of the log starts on a line of its own";
    EXPECT_EQ(unit->actionQueue.Count(), 500);
    EXPECT_EQ(unit->timeBudget, 0.0f);
    EXPECT_EQ(unit->doneThisTick, 1);
    unit->ClearActionQueue();
}

TEST_F(VornBehaviourTest, EmptiedWeaponFiresAsALaserAndKeepsItsKind) {
    Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    unit->SetWeaponKind(0, kWeaponShrapnelGun);
    unit->PrepareForBattle();
    Weapon& gun = unit->weapons[0];
    gun.ammoCount = 1;
    Queue(unit, VornAction::kFire1)->pointA = Vector3(70.0f, 50.0f, 0.0f);
    unit->SetTimeBudget(0.1f);
    unit->RunActions();
    EXPECT_EQ(gun.ammoCount, 0);
    EXPECT_TRUE(gun.IsReloading());
    unit->SpendTime(0.0f);
    EXPECT_EQ(unit->conditionals[Vorn::kOutOfAmmo1], 1);
    EXPECT_EQ(unit->conditionals[Vorn::kReloading1], 1);

    // Reloading: the shot is dropped (a shrapnel gun does not wait for its reload).
    Queue(unit, VornAction::kFire1)->pointA = Vector3(70.0f, 50.0f, 0.0f);
    unit->SetTimeBudget(0.1f);
    unit->RunActions();
    EXPECT_EQ(unit->currentAction, nullptr);
    // The emptying shot's reload is the laser's 0.5 s.
    unit->SpendTime(0.5f);
    EXPECT_FALSE(gun.IsReloading());

    const int lasersBefore = arena->CountObjectsOfKind(kKindLaserBeam);
    Queue(unit, VornAction::kFire1)->pointA = Vector3(70.0f, 50.0f, 0.0f);
    unit->SetTimeBudget(0.1f);
    unit->RunActions();
    EXPECT_EQ(gun.kind, kWeaponShrapnelGun);
    EXPECT_EQ(gun.ammoCount, 0);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindLaserBeam), lasersBefore + 1);
}

// Only what the peers are sent starts a pattern's fade: a shot does, a kick never does.
TEST_F(VornBehaviourTest, AShotStartsItsPatternsFadeAndAKickDoesNot) {
    for (const int kind : {kWeaponLaser, kWeaponKicker}) {
        Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f + float(kind), 0.0f);
        unit->SetWeaponKind(0, kind);
        unit->PrepareForBattle();
        VornAction* shot = Queue(unit, VornAction::kFire1);
        shot->pointA = Vector3(70.0f, 50.0f, 0.0f);
        shot->firstOfPattern = 1;
        unit->SetTimeBudget(0.1f);
        unit->RunActions();
        EXPECT_EQ(unit->teleportFadeTimer > 0.0f, kind == kWeaponLaser) << "weapon " << kind;
    }
}

TEST_F(VornBehaviourTest, SecondWeaponOfAOneWeaponUnitIsDroppedWithoutCost) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    Queue(unit, VornAction::kFire2)->pointA = Vector3(70.0f, 50.0f, 0.0f);
    unit->SetTimeBudget(0.1f);
    unit->RunActions();
    EXPECT_EQ(unit->currentAction, nullptr);
    EXPECT_FLOAT_EQ(unit->timeBudget, 0.1f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindLaserBeam), 0);
}

TEST_F(VornBehaviourTest, LavaBurnsOneHealthASecondAndSlowGroundAndBallSlowTheUnit) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    arena->GetTerrain().Fill(kTerrainLava);
    game.frameTime = 0.25f;
    unit->ApplyGroundEffects();
    EXPECT_FLOAT_EQ(unit->health, 9.75f);

    arena->GetTerrain().Fill(kTerrainSwamp);
    unit->speedFactor = 1.0f;
    unit->SetHasBall(true);
    unit->ApplyGroundEffects();
    EXPECT_FLOAT_EQ(unit->speedFactor, 0.75f * 0.85f);
}

TEST_F(VornBehaviourTest, LavaDeathIsALossWithoutKill) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    arena->GetTerrain().Fill(kTerrainLava);
    unit->SetHealth(0.1f);
    game.frameTime = 0.25f;
    unit->ApplyGroundEffects();
    EXPECT_TRUE(unit->removed);
    EXPECT_EQ(red.losses, 1);
    EXPECT_EQ(red.kills, 0);
}

TEST_F(VornBehaviourTest, UnitWithoutPatternsStandsIdleAndSpendsItsTimeOnItsTimers) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->setTimer = 1.0f;
    Step(0.1f);
    EXPECT_EQ(unit->currentPattern, nullptr);
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
    EXPECT_NEAR(unit->setTimer, 0.9f, 1e-5f);
    EXPECT_EQ(unit->timeBudget, 0.0f);
}

TEST_F(VornBehaviourTest, UnitWalksTheFirstLegOfItsChosenPattern) {
    // A pattern without objects: walk 4 units ahead of the unit, switching Switch1 on.
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    Pattern& pattern = unit->PatternAt(0);
    PathPoint* ahead = pattern.AddPathPoint();
    ahead->SetPosition(Vector2(4.0f, 0.0f));
    Action* flip = ahead->AddAction();
    flip->kind = kActionSetSwitch1;
    pattern.RebuildLayout();
    ASSERT_TRUE(pattern.IsEnabled());

    // Choosing costs 0.01 s; the small chassis walks 8 units a second straight ahead.
    Step(0.26f);
    EXPECT_EQ(unit->currentPattern, &pattern);
    EXPECT_NEAR(unit->position.x, 50.0f + 8.0f * 0.25f, 1e-3f);
    EXPECT_NEAR(unit->position.y, 50.0f, 1e-3f);
    EXPECT_EQ(unit->conditionals[Vorn::kSwitch1], 0);
    Step(0.26f);
    EXPECT_NEAR(unit->position.x, 54.0f, 1e-3f);
    EXPECT_EQ(unit->conditionals[Vorn::kSwitch1], 1);
    EXPECT_NEAR(unit->heading, 0.0f, 1e-5f);
}

// A unit that walks 4 units ahead, again and again.
Vorn* Walker(Vorn* unit) {
    Pattern& pattern = unit->PatternAt(0);
    pattern.AddPathPoint()->SetPosition(Vector2(4.0f, 0.0f));
    pattern.RebuildLayout();
    return unit;
}

TEST_F(VornBehaviourTest, AStaticFieldMarksTheUnitsThatChooseInsideIt) {
    Vorn* inside = Walker(AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f));
    Vorn* outside = Walker(AddUnit(&red, kRobotSmall, 120.0f, 120.0f, 0.0f));
    StaticField* field = arena->NewStaticField();
    field->Start(Vector3(52.0f, 50.0f, 0.0f), 10.0f);
    arena->AddObject(field);
    // The field marks after the units' turn; the mark is read at the next choice.
    for (int i = 0; i < 10; ++i) Step(0.1f);
    EXPECT_EQ(inside->inWaterOrStaticField, 1);
    EXPECT_EQ(outside->inWaterOrStaticField, 0);
}

TEST_F(VornBehaviourTest, WalkingThroughWaterLeavesRingsThatFadeOverASecond) {
    arena->GetTerrain().Fill(kTerrainWater);
    Walker(AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f));
    const auto rings = [&] {
        std::vector<WaterRing*> found;
        for (WorldObject* object : arena->Objects())
            if (object->kind == kKindWaterRing) found.push_back(static_cast<WaterRing*>(object));
        return found;
    };
    for (int i = 0; i < 5; ++i) Step(0.1f);
    ASSERT_GE(rings().size(), 2u);
    for (const WaterRing* ring : rings()) {
        EXPECT_GT(ring->life, 0.0f);
        EXPECT_GT(ring->size, 0.0f);
    }
    const float oldest = rings().front()->life;
    Step(0.1f);
    EXPECT_NEAR(rings().front()->life, oldest - 0.1f, 1e-4f);
}

TEST_F(VornBehaviourTest, TeleportFadeStaysFaintAndEndsWithinHalfASecond) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->StartTeleportFade();
    float highest = 0.0f;
    for (int frame = 0; frame < 45; ++frame) {
        Step(1.0f / 60.0f);
        highest = std::max(highest, unit->teleportFadeLevel);
    }
    // The level rises at 3 a second toward a timer falling at 1 from 0.5: they meet at
    // 0.375, so the unit never fades below 62 % or shrinks to a point.
    EXPECT_NEAR(highest, 0.375f, 0.02f);
    EXPECT_EQ(unit->teleportFadeActive, 0);
    EXPECT_EQ(unit->teleportFadeLevel, 0.0f);
}

TEST_F(VornBehaviourTest, BudgetBelowAChoiceChoosesNothing) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->PatternAt(0).priority = 1;
    unit->SetTimeBudget(0.009f);
    unit->Update(false);
    EXPECT_EQ(unit->choseThisTick, 0);
    unit->SetTimeBudget(0.01f);
    unit->Update(false);
    EXPECT_EQ(unit->choseThisTick, 1);
    EXPECT_EQ(unit->timeBudget, 0.0f);
}

TEST_F(VornBehaviourTest, BattleOverGivesTheWinnersTheirEndPose) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->PatternAt(0).priority = 1;
    red.won = 1;
    game.SetBattleOver(1);
    Step(0.1f);
    EXPECT_EQ(unit->endPoseSet, 1);
    EXPECT_EQ(unit->animationState, Vorn::kAnimVictoryWaiting);
    EXPECT_EQ(unit->mood, 1);
    EXPECT_NEAR(unit->moodTimer, 10000.0f, 1.0f);
    EXPECT_EQ(unit->choseThisTick, 0);
}

TEST_F(VornBehaviourTest, ClientReplayBudgetIsKeptWithinTheFrame) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    game.client = true;
    game.frameTime = 0.1f;
    game.clock = 10.0f;
    // A stamp from the future walks nowhere instead of backwards.
    VornAction* walk = NewAction(VornAction::kWalk);
    walk->startPosition = unit->position;
    walk->pointA = Vector3(70.0f, 50.0f, 0.0f);
    walk->pointB = Vector3(71.0f, 50.0f, 0.0f);
    walk->timeStamp = 30.0f;
    unit->BeginAction(walk);
    EXPECT_NEAR(unit->position.x, 50.0f, 1e-4f);
    EXPECT_EQ(walk->sent, 1);
    // A stale stamp walks at most a frame and half a second.
    VornAction* late = NewAction(VornAction::kWalk);
    late->startPosition = Vector3(50.0f, 50.0f, 0.0f);
    late->pointA = Vector3(70.0f, 50.0f, 0.0f);
    late->pointB = Vector3(71.0f, 50.0f, 0.0f);
    late->timeStamp = -1000.0f;
    unit->BeginAction(late);
    EXPECT_NEAR(unit->position.x, 50.0f + 8.0f * 0.6f, 1e-3f);
    unit->NextAction();
    game.client = false;
}

// The server's unit stands hemmed in and chooses a walk every tick that gives up at once;
// the client's copy, wherever it stood, stands where the server's does.
TEST_F(VornBehaviourTest, AClientReplayThatGivesUpStaysWhereTheServersUnitStood) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 40.0f, 50.0f, 0.0f);
    unit->SavePreviousState();  // as the arena's update does before each frame
    for (const Vector2 side : {Vector2(1, 0), Vector2(-1, 0), Vector2(0, 1), Vector2(0, -1)})
        world_test::AddObjectOfKind(*arena, kKindRock, 60.0f + 1.6f * side.x, 50.0f + 1.6f * side.y);
    game.client = true;
    game.frameTime = 0.1f;
    game.clock = 10.0f;
    VornAction* walk = NewAction(VornAction::kWalk);
    walk->startPosition = Vector3(60.0f, 50.0f, 0.0f);
    walk->pointA = Vector3(70.0f, 50.0f, 0.0f);
    walk->pointB = Vector3(71.0f, 50.0f, 0.0f);
    walk->timeStamp = 10.0f;
    unit->BeginAction(walk);
    EXPECT_NEAR(unit->position.x, 60.0f, 0.01f);
    EXPECT_NEAR(unit->position.y, 50.0f, 0.01f);
    unit->NextAction();
    game.client = false;
}

}  // namespace
