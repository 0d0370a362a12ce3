// Turning, walking round obstacles, falling, unit contacts and aiming.
#include <cmath>
#include <limits>

#include "support/VornTestWorld.h"

namespace {

constexpr float kPi = 3.14159265f;

using VornMovementTest = VornTestWorld;

// A walk record as the queue of a chosen pattern holds it.
VornAction* Walk(VornTestWorld&, Vorn* unit, VornAction* action, const Vector3& to) {
    unit->currentPattern = &unit->PatternAt(0);
    action->startPosition = unit->position;
    action->pointA = to;
    action->pointB = to + (to - unit->position).Normalized();
    return action;
}

TEST_F(VornMovementTest, TurnStopsAtTheWantedHeadingOrUsesTheWholeBudget) {
    // Small chassis: 2 pi a second, so 0.1 s turns 0.2 pi at most.
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    VornAction* turn = Queue(unit, VornAction::kTurnToFace);
    turn->pointB = Vector3(50.0f, 60.0f, 0.0f);
    unit->SetTimeBudget(0.1f);
    unit->StepTurn(turn);
    EXPECT_NEAR(unit->heading, 0.2f * kPi, 1e-5f);
    EXPECT_EQ(unit->timeBudget, 0.0f);
    EXPECT_EQ(unit->currentAction, turn);

    // 0.3 pi left: 0.15 s of a 0.2 s budget, and the action finishes.
    unit->SetTimeBudget(0.2f);
    unit->StepTurn(turn);
    EXPECT_NEAR(unit->heading, 0.5f * kPi, 1e-5f);
    EXPECT_NEAR(unit->timeBudget, 0.05f, 1e-5f);
    EXPECT_EQ(unit->currentAction, nullptr);
}

TEST_F(VornMovementTest, WalkingSidewaysOrBackwardsIsSlower) {
    const Vector3 a(0.0f, 0.0f, 0.0f);
    const Vector3 b(10.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(Vorn::WalkAngleFactor(a, b, 0.0f), 1.0f);
    EXPECT_NEAR(Vorn::WalkAngleFactor(a, b, kPi / 2.0f), 0.8f, 1e-6f);
    EXPECT_NEAR(Vorn::WalkAngleFactor(a, b, kPi), 0.6f, 1e-6f);
}

TEST_F(VornMovementTest, WalkCoversSpeedTimesBudgetAndFinishesOnArrival) {
    Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    VornAction* walk = Walk(*this, unit, Queue(unit, VornAction::kWalk), Vector3(53.0f, 50.0f, 0.0f));
    // Medium chassis: 4 units a second.
    unit->SetTimeBudget(0.5f);
    unit->StepWalk(walk);
    EXPECT_NEAR(unit->position.x, 52.0f, 1e-4f);
    EXPECT_NEAR(unit->position.z, 2.25f, 1e-4f);
    EXPECT_EQ(unit->timeBudget, 0.0f);
    unit->SetTimeBudget(0.5f);
    unit->StepWalk(walk);
    EXPECT_NEAR(unit->position.x, 53.0f, 1e-4f);
    EXPECT_NEAR(unit->timeBudget, 0.25f, 1e-4f);
    EXPECT_EQ(unit->currentAction, nullptr);
}

TEST_F(VornMovementTest, WalkGoesRoundAUnitToItsEnd) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 40.0f, 50.0f, 0.0f);
    // A large unit standing in the way, a little off the line of the walk.
    Vorn* rock = AddUnit(&red, kRobotLarge, 50.0f, 50.2f, 0.0f);
    Walk(*this, unit, Queue(unit, VornAction::kWalk), Vector3(60.0f, 50.0f, 0.0f));
    const float clearance = unit->GetRadius() + rock->GetRadius();
    for (int tick = 0; tick < 200 && unit->currentAction != nullptr; ++tick) {
        unit->SetTimeBudget(0.05f);
        unit->Update(false);
        EXPECT_GE(unit->position.Distance(rock->position), clearance - 1e-3f) << tick;
    }
    EXPECT_EQ(unit->currentAction, nullptr);
    EXPECT_NEAR(unit->position.x, 60.0f, 0.05f);
    EXPECT_NEAR(unit->position.y, 50.0f, 0.05f);
}

TEST_F(VornMovementTest, WalkToAPointAgainstAUnitStopsTouchingIt) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 40.0f, 50.0f, 0.0f);
    Vorn* rock = AddUnit(&red, kRobotLarge, 50.0f, 50.0f, 0.0f);
    Walk(*this, unit, Queue(unit, VornAction::kWalk), Vector3(49.0f, 50.0f, 0.0f));
    for (int tick = 0; tick < 40 && unit->currentAction != nullptr; ++tick) {
        unit->SetTimeBudget(0.1f);
        unit->Update(false);
    }
    EXPECT_EQ(unit->currentAction, nullptr);
    const float gap = unit->position.x - (rock->position.x - unit->GetRadius() - rock->GetRadius());
    EXPECT_LE(std::fabs(gap), 0.02f);
}

TEST_F(VornMovementTest, UnitFallsUnderGravityAndLands) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->PlaceAt(Vector3(50.0f, 50.0f, 1.5f + 5.0f));
    ASSERT_FALSE(unit->onGround);
    unit->SetTimeBudget(0.1f);
    unit->AirborneStep();
    // One step of t = 0.15: v = -1.47, z falls by 1.47 x 0.15.
    EXPECT_NEAR(unit->velocity.z, -9.8f * 0.15f, 1e-5f);
    EXPECT_NEAR(unit->position.z, 6.5f - 9.8f * 0.15f * 0.15f, 1e-4f);
    for (int i = 0; i < 50 && !unit->onGround; ++i) {
        unit->SetTimeBudget(0.1f);
        unit->AirborneStep();
    }
    EXPECT_TRUE(unit->onGround);
    EXPECT_NEAR(unit->position.z, 1.5f, 1e-4f);
    EXPECT_EQ(unit->velocity, Vector3());
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
}

TEST_F(VornMovementTest, ContactBisectionIsBoundedAndSurvivesNonFiniteEnds) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 40.0f, 50.0f, 0.0f);
    Vorn* rock = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    // Touching at 1.5 + 1.5 from the other unit's centre, within the 0.1 precision.
    const Vector3 touching = unit->ContactPointToward(Vector3(60.0f, 50.0f, 1.5f), *rock);
    EXPECT_GE(touching.x, 53.0f);
    EXPECT_LE(touching.x, 53.0f + 0.1f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Vector3 bad(nan, 50.0f, 0.0f);
    const Vector3 result = unit->ContactPointToward(bad, *rock);
    EXPECT_TRUE(std::isnan(result.x));
}

TEST_F(VornMovementTest, ExplosiveGoesOffAgainstAnEnemyOnly) {
    Vorn* bomber = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    bomber->SetWeaponKind(1, kWeaponExplosive);
    bomber->PrepareForBattle();
    Vorn* friendUnit = AddUnit(&red, kRobotSmall, 90.0f, 90.0f, 0.0f);
    EXPECT_FALSE(bomber->Contact(friendUnit, Vector3(52.0f, 50.0f, 0.0f)));
    EXPECT_FALSE(bomber->removed);
    Vorn* enemy = AddUnit(&blue, kRobotSmall, 46.0f, 50.0f, 0.0f);
    EXPECT_TRUE(bomber->Contact(enemy, Vector3(48.0f, 50.0f, 0.0f)));
    EXPECT_TRUE(bomber->removed);
    EXPECT_TRUE(enemy->removed);
    EXPECT_FALSE(friendUnit->removed);
    EXPECT_EQ(bomber->weapons[1].ammoCount, 0);
    // The bomb and the two units' own explosions. The bomber's loss credits nobody.
    EXPECT_EQ(game.blasts, 3);
    EXPECT_EQ(red.kills, 1);
    EXPECT_EQ(red.losses, 1);
    EXPECT_EQ(blue.losses, 1);
}

TEST_F(VornMovementTest, BallPressureFromALargeUnitKnocksTheBallLooseInTwoAndAHalfSeconds) {
    Vorn* large = AddUnit(&red, kRobotLarge, 50.0f, 50.0f, 0.0f);
    Vorn* carrier = AddUnit(&blue, kRobotSmall, 56.0f, 50.0f, 0.0f);
    carrier->GiveBall();
    // Ratio 2: 0.25 a contact of 0.125 s, so 2.5 s in all.
    game.frameTime = 0.125f;
    for (int i = 0; i < 19; ++i) {
        large->Contact(carrier, Vector3());
    }
    EXPECT_EQ(carrier->carryingBall, 1);
    large->Contact(carrier, Vector3());
    EXPECT_EQ(carrier->carryingBall, 0);
    EXPECT_EQ(carrier->conditionals[Vorn::kHasBall], 0);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSoccerBall), 1);
}

TEST_F(VornMovementTest, AimIsExactWhenFacingOnLevelGroundAndLimitedInRange) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    const Vector3 aim = unit->AimWithError(Vector3(60.0f, 50.0f, 1.5f));
    EXPECT_NEAR(aim.x, 60.0f, 1e-4f);
    EXPECT_NEAR(aim.y, 50.0f, 1e-4f);
    const Vector3 far = unit->ClampAimRange(Vector3(50.0f + 60.0f, 50.0f, 0.0f));
    EXPECT_NEAR(far.x - 50.0f, 25.0f * std::sqrt(2.0f), 1e-3f);
    // A target on the unit itself is moved 5 away.
    const Vector3 self = unit->AvoidSelfAim(unit->position);
    EXPECT_NEAR(std::hypot(self.x - 50.0f, self.y - 50.0f), 5.0f, 1e-4f);
    // Across the arena's edge the near image is aimed at.
    unit->PlaceAt(Vector3(2.0f, 50.0f, 0.0f));
    const Vector3 wrapped = unit->ClampAimRange(Vector3(158.0f, 50.0f, 0.0f));
    EXPECT_NEAR(wrapped.x, -2.0f, 1e-3f);
}

}  // namespace
