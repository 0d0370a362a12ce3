// The ball rolls, bounces, rolls downhill, is pushed, picked up, kicked and carried, and
// scores in a goal for the last kicker.
#include <cmath>

#include "core/MathUtil.h"
#include "core/StringStream.h"
#include "support/VornTestWorld.h"
#include "world/FirePuff.h"
#include "world/Goal.h"
#include "world/SoccerBall.h"

namespace {

class BallGame : public UnitGame {
public:
    void OnBallUpdate(SoccerBall* ball) override {
        UnitGame::OnBallUpdate(ball);
        ++updates;
    }
    void OnGoalScored(Player* kicker, Player* owner, SoccerBall* ball) override {
        UnitGame::OnGoalScored(kicker, owner, ball);
        ++goals;
        lastKicker = kicker;
        lastOwner = owner;
    }

    int updates = 0;
    int goals = 0;
    Player* lastKicker = nullptr;
    Player* lastOwner = nullptr;
};

class SoccerBallTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        SetCurrentGame(&balls);
    }

    void Tick(float frame) {
        balls.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        balls.clock += frame;
    }

    SoccerBall* BallAt(const Vector3& point, const Vector3& velocity) {
        SoccerBall* ball = arena->NewSoccerBall();
        arena->AddObject(ball);
        ball->PlaceAt(point);
        ball->SetVelocity(velocity);
        return ball;
    }

    Goal* GoalAt(float x, float y, Player* owner) {
        Goal* goal = arena->NewGoal();
        arena->AddObject(goal);
        goal->PlaceAt(Vector3(x, y, 0));
        goal->owner = owner;
        return goal;
    }

    SoccerBall* OnlyBall() const {
        SoccerBall* found = nullptr;
        for (WorldObject* object : arena->Objects()) {
            if (object->kind == kKindSoccerBall) {
                EXPECT_EQ(found, nullptr);
                found = static_cast<SoccerBall*>(object);
            }
        }
        return found;
    }

    BallGame balls;
};

TEST_F(SoccerBallTest, OnFlatGroundTheBallRollsToAStop) {
    SoccerBall* ball = BallAt(Vector3(50, 50, 0.75f), Vector3(1, 0, 0));
    Tick(0.1f);
    // Friction 7 x 0.1 a tick; no push on flat ground.
    EXPECT_NEAR(ball->position.x, 50.1f, 1e-4f);
    EXPECT_NEAR(ball->velocity.x, 0.3f, 1e-4f);
    Tick(0.1f);
    EXPECT_NEAR(ball->position.x, 50.13f, 1e-4f);
    EXPECT_EQ(ball->velocity, Vector3());
    EXPECT_EQ(balls.updates, 0);
}

TEST_F(SoccerBallTest, ABallBouncesOnlyWhenItComesBackUpFasterThanThreeQuarters) {
    // Gravity over the doubled step: -0.196, reflected at 0.9: 0.176 up, too slow.
    SoccerBall* soft = BallAt(Vector3(50, 50, 0.761f), Vector3());
    Tick(0.01f);
    EXPECT_FLOAT_EQ(soft->position.z, 0.75f);
    EXPECT_EQ(balls.updates, 0);

    // -10 - 0.98 reflected at 0.9 is 9.882 up: a bounce, then the friction near the
    // ground, (3 - 0.02) / 3 x 7 x 0.05.
    SoccerBall* hard = BallAt(Vector3(80, 80, 1.5f), Vector3(0, 0, -10));
    Tick(0.05f);
    EXPECT_NEAR(hard->position.z, 0.77f, 1e-4f);
    EXPECT_NEAR(hard->velocity.z, 9.882f - 0.99333f * 0.35f, 1e-3f);
    EXPECT_EQ(balls.updates, 1);
}

TEST_F(SoccerBallTest, TheBallRollsDownhill) {
    // Heights fall by 1 every 10 units along x: slope atan(0.1).
    Terrain& terrain = arena->GetTerrain();
    for (int i = 0; i < terrain.Width(); ++i) {
        for (int j = 0; j < terrain.Height(); ++j) terrain.CellAt(i, j).height = -static_cast<float>(i);
    }
    SoccerBall* ball = BallAt(Vector3(50, 50, -5.0f), Vector3());
    EXPECT_NEAR(ball->position.z, -4.25f, 1e-4f);
    Tick(0.1f);
    // The push keeps the drop at 1: 2 g cos(slope) dt along x, 2 g sin(slope) dt down,
    // 1.96 in all; friction takes cos(slope) x 7 x 0.1 of it.
    const float c = 1.0f / std::sqrt(1.01f);
    EXPECT_NEAR(ball->position.x, 50.0f + 2.0f * 9.8f * c * 0.01f, 1e-4f);
    EXPECT_NEAR(ball->velocity.x, (1.96f - c * 0.7f) * c, 1e-4f);
    EXPECT_NEAR(ball->velocity.y, 0.0f, 1e-5f);
}

TEST_F(SoccerBallTest, DamagePushesTheBallAndOnlyAnUpwardPushIsCapped) {
    SoccerBall* ball = BallAt(Vector3(50, 50, 0.75f), Vector3());
    ball->TakeDamage(&red, ball->position - Vector3(1, 0, 0), 15.0f, 0);
    EXPECT_EQ(ball->velocity, Vector3(30, 0, 0));
    EXPECT_EQ(ball->health, 10.0f);
    ball->SetVelocity(Vector3());
    ball->TakeDamage(&red, ball->position - Vector3(0, 0, 1), 15.0f, 0);
    EXPECT_NEAR(ball->velocity.z, 20.0f, 1e-4f);
}

TEST_F(SoccerBallTest, AUnitPicksTheBallUpAndKicksItForItsPlayer) {
    Vorn* unit = AddUnit(&red, kRobotMedium, 50, 50, 0.0f);
    SoccerBall* ball = BallAt(Vector3(53, 50, 0.75f), Vector3());
    ball->lastKicker = &blue;
    ball->OnCollide(unit, ball->position);
    EXPECT_TRUE(ball->removed);
    EXPECT_EQ(unit->carryingBall, 1);
    EXPECT_EQ(unit->ballCreditPlayer, &blue);
    arena->RemoveFlaggedObjects(false);

    unit->KickCarriedBall(Vector3(70, 50, 0));
    EXPECT_EQ(unit->carryingBall, 0);
    SoccerBall* kicked = OnlyBall();
    ASSERT_NE(kicked, nullptr);
    EXPECT_EQ(kicked->lastKicker, &red);
    EXPECT_GT(kicked->velocity.x, 0.0f);
    EXPECT_GT(kicked->velocity.z, 0.0f);
    EXPECT_EQ(kicked->lastReportTime, balls.clock);

    // A unit that waits out its delay does not take the ball.
    Vorn* waiting = AddUnit(&blue, kRobotMedium, 100, 100, 0.0f);
    waiting->delayTimer = 1.0f;
    SoccerBall* loose = BallAt(Vector3(103, 100, 0.75f), Vector3());
    loose->OnCollide(waiting, loose->position);
    EXPECT_FALSE(loose->removed);
}

TEST_F(SoccerBallTest, ABallAtRestInAGoalScoresForTheLastKicker) {
    GoalAt(80, 80, &blue);
    SoccerBall* ball = BallAt(Vector3(81, 80, 0.75f), Vector3());
    ball->lastKicker = &red;
    Tick(0.05f);
    EXPECT_EQ(red.goalCount, 1);
    EXPECT_EQ(blue.goalCount, 0);
    EXPECT_EQ(balls.goals, 1);
    EXPECT_EQ(balls.lastKicker, &red);
    EXPECT_EQ(balls.lastOwner, &blue);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindFirePuff), 10);
    // The scored ball is gone; a new one falls from 25 above the ground.
    SoccerBall* next = OnlyBall();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, ball);
    EXPECT_EQ(next->lastKicker, nullptr);
    EXPECT_GT(next->position.z, 20.0f);
}

TEST_F(SoccerBallTest, AnOwnGoalTakesOneAwayAndAnUncreditedGoalCountsNothing) {
    GoalAt(80, 80, &blue);
    SoccerBall* own = BallAt(Vector3(81, 80, 0.75f), Vector3());
    own->lastKicker = &blue;
    Tick(0.05f);
    EXPECT_EQ(blue.goalCount, -1);

    GoalAt(30, 30, &red);
    BallAt(Vector3(30, 31, 0.75f), Vector3());
    Tick(0.05f);
    EXPECT_EQ(red.goalCount, 0);
    EXPECT_EQ(balls.goals, 2);
}

TEST_F(SoccerBallTest, ABallFlyingThroughAGoalDoesNotScore) {
    GoalAt(80, 80, &blue);
    SoccerBall* ball = BallAt(Vector3(80, 80, 10), Vector3());
    ball->lastKicker = &red;
    Tick(0.05f);
    EXPECT_EQ(balls.goals, 0);
    EXPECT_FALSE(ball->removed);
    EXPECT_FALSE(ball->inGoal);
}

TEST_F(SoccerBallTest, ACarrierWalkingIntoAGoalScoresItsCarriedBall) {
    GoalAt(60, 60, &blue);
    Vorn* unit = AddUnit(&red, kRobotSmall, 61, 60, 0.0f);
    unit->GiveBall();
    Tick(0.05f);
    EXPECT_EQ(unit->carryingBall, 0);
    EXPECT_EQ(red.goalCount, 1);
    EXPECT_EQ(balls.lastKicker, &red);
    EXPECT_NE(OnlyBall(), nullptr);
}

TEST_F(SoccerBallTest, TextFormReadsBack) {
    SoccerBall* ball = BallAt(Vector3(20, 30, 0.75f), Vector3(1, 2, 0));
    ball->orientation = Quaternion(0, 0, 0.6f, 0.8f);
    StringStream out;
    ball->Save(out);
    SoccerBall* copy = arena->NewSoccerBall();
    StringStream in(out.Text());
    copy->Load(in);
    EXPECT_EQ(copy->position, ball->position);
    EXPECT_EQ(copy->velocity, ball->velocity);
    EXPECT_NEAR(copy->orientation.z, 0.6f, 1e-6f);
    EXPECT_NEAR(copy->orientation.w, 0.8f, 1e-6f);
    EXPECT_EQ(copy->loadedId, ball->id);

    StringStream hand(
        "type SoccerBall\nid 4\nQUAT < 0, 0, 0, 0 >\nposition < 40, 50, 0.75 >\nvelocity < 0, inf, 0 >\nend\n");
    copy->Load(hand);
    EXPECT_EQ(copy->loadedId, 4);
    EXPECT_NEAR(copy->orientation.z, 0.6f, 1e-6f);
    EXPECT_EQ(copy->position, Vector3(40, 50, 0.75f));
    // The infinite component keeps its value; the others are read.
    EXPECT_EQ(copy->velocity, Vector3(0, ball->velocity.y, 0));
}

TEST_F(SoccerBallTest, EveryBallHookMarksTheReportTime) {
    SoccerBall* ball = BallAt(Vector3(20, 30, 0.75f), Vector3());
    balls.clock = 12.0f;
    balls.OnBallSpawned(ball);
    EXPECT_EQ(ball->lastReportTime, 12.0f);
    balls.clock = 13.0f;
    balls.OnGoalScored(nullptr, nullptr, ball);
    EXPECT_EQ(ball->lastReportTime, 13.0f);
}

}  // namespace
