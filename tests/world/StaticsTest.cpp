// Beacons and goals are placed and owned; rocks block and shrug off damage; trees burn,
// fall and keep their fires; the standing objects' scenario text reads back.
#include <cmath>

#include "core/MathUtil.h"
#include "core/StringStream.h"
#include "engine/ModelNode.h"
#include "game/Player.h"
#include "support/ArenaFixture.h"
#include "support/StandInModels.h"
#include "units/Vorn.h"
#include "world/Beacon.h"
#include "world/ContactRecord.h"
#include "world/FirePuff.h"
#include "world/Goal.h"
#include "world/Rock.h"
#include "world/SoccerBall.h"
#include "world/Tree.h"

namespace {

class ClientGame : public RecordingGame {
public:
    bool IsNetworkClient() const override { return true; }
};

class StaticsTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        game.firstPlayer = &red;
        game.secondPlayer = &blue;
    }

    template <typename T>
    T* Listed(T* object, float x, float y) {
        arena->AddObject(object);
        object->PlaceAt(Vector3(x, y, 0.0f));
        return object;
    }

    SoccerBall* BallAt(float x, float y) {
        SoccerBall* ball = Listed(arena->NewSoccerBall(), x, y);
        return ball;
    }

    // Writes the object's text and reads it into the other.
    static void RoundTrip(WorldObject& from, WorldObject& to) {
        StringStream out;
        from.Save(out);
        StringStream in(out.Text());
        to.Load(in);
    }

    int CountKind(int kind) const { return arena->CountObjectsOfKind(kind); }

    Player red;
    Player blue;
};

TEST_F(StaticsTest, BeaconsSpinOnTheGroundForTheirOwnerAndTakeNoDamage) {
    Beacon* beacon = arena->NewBeacon();
    arena->AddObject(beacon);
    beacon->PlaceAt(Vector3(10, 10, 30));
    EXPECT_EQ(beacon->position, Vector3(10, 10, 0));
    EXPECT_EQ(beacon->shape.sphereCentre, beacon->position);
    EXPECT_FLOAT_EQ(beacon->shape.Radius(), 1.65f);

    Vorn* unit = arena->NewVorn(0);
    unit->owner = &blue;
    beacon->SetOwner(unit);
    EXPECT_EQ(beacon->owner, unit);
    EXPECT_EQ(beacon->ownerPlayer, &blue);

    // A quarter turn a second, paused or not, folded into one turn.
    game.frameTime = 0.5f;
    beacon->heading = 2.0f * kPi - 0.1f;
    beacon->Update(true);
    EXPECT_NEAR(beacon->heading, kPi / 4.0f - 0.1f, 1e-5f);

    arena->ApplyBlast(&red, beacon->position, 100.0f, 10.0f, 5.0f, 0);
    EXPECT_EQ(beacon->health, 1.0f);
    EXPECT_EQ(beacon->position, Vector3(10, 10, 0));
    EXPECT_FALSE(beacon->removed);
    beacon->Reset();
    EXPECT_EQ(beacon->owner, nullptr);
    EXPECT_EQ(beacon->heading, 0.0f);
    arena->FreeObject(unit);
}

TEST_F(StaticsTest, AGoalMarksOnlyBallsStrictlyInsideIt) {
    Goal* goal = Listed(arena->NewGoal(), 50, 50);
    goal->owner = &blue;
    EXPECT_FLOAT_EQ(goal->GetRadius(), 3.125f);
    SoccerBall* inside = BallAt(52.49f, 50);
    SoccerBall* edge = BallAt(50, 47.5f);
    goal->Update(false);
    EXPECT_TRUE(inside->inGoal);
    EXPECT_EQ(inside->goalOwner, &blue);
    EXPECT_EQ(inside->goalPoint, Vector2(52.49f, 50));
    EXPECT_FALSE(edge->inGoal);

    inside->inGoal = false;
    goal->Update(true);
    EXPECT_FALSE(inside->inGoal);
    ClientGame client;
    SetCurrentGame(&client);
    goal->Update(false);
    EXPECT_FALSE(inside->inGoal);
}

TEST_F(StaticsTest, GoalsKeepTheirOwnerInTheScenarioText) {
    Goal* goal = Listed(arena->NewGoal(), 30, 40);
    goal->owner = &blue;
    goal->heading = 1.25f;
    StringStream out;
    goal->Save(out);
    EXPECT_NE(std::string(out.Text()).find("Type Goal\nID " + std::to_string(goal->id) + "\nPlayer 1\nPosition "),
              std::string::npos);

    Goal* copy = arena->NewGoal();
    arena->AddObject(copy);
    StringStream in(out.Text());
    copy->Load(in);
    EXPECT_EQ(copy->owner, &blue);
    EXPECT_EQ(copy->position, goal->position);
    EXPECT_FLOAT_EQ(copy->heading, 1.25f);
    EXPECT_EQ(copy->loadedId, goal->id);

    // Written by hand: keys in any case, a position in the air lands on the ground, and
    // a value that is not a number ends the entry.
    StringStream hand("type Goal\nid 7\nPLAYER 0\nPosition < 12, 14, 3 >\nAngle 0.5\nColour red\nAngle nan\nEnd\n");
    copy->Load(hand);
    EXPECT_EQ(copy->owner, &red);
    EXPECT_EQ(copy->position, Vector3(12, 14, 0));
    EXPECT_FLOAT_EQ(copy->heading, 0.5f);
    EXPECT_EQ(copy->loadedId, 7);
}

TEST_F(StaticsTest, RocksBlockAndCannotBeDamaged) {
    Rock* rock = Listed(arena->NewRock(), 44, 50);
    EXPECT_EQ(rock->shape.cylinderSecond, Vector3(44, 50, 2.6f));
    arena->ApplyBlast(&red, rock->position, 500.0f, 10.0f, 5.0f, 0);
    rock->TakeDamage(&red, rock->position, 5000.0f, 0);
    EXPECT_EQ(rock->health, 1000.0f);
    EXPECT_FALSE(rock->removed);

    SoccerBall* ball = BallAt(36, 50);
    ContactRecord hit;
    EXPECT_FALSE(arena->MoveWithCollision(ball, ball->position, Vector3(52, 50, 0.75f), &hit, nullptr));
    EXPECT_EQ(hit.otherObject, rock);
    // Stopped short of the cylinder: rock radius 2 plus ball radius 0.75.
    EXPECT_LE(hit.stopPosition.x, 44.0f - 2.75f + 1e-3f);
}

TEST_F(StaticsTest, LooksComeFromTheSubTypeAndBadOnesAreDrawnAtRandom) {
    const world_test::StandInModels models({"Rock4", "PalmTree"});
    Rock* rock = arena->NewRock();
    StringStream text("Type Rock\nSubType 3\nID 12\nPosition < 20, 20, 0 >\nEnd\n");
    rock->Load(text);
    EXPECT_EQ(rock->team, 3);
    ASSERT_NE(rock->model, nullptr);
    EXPECT_EQ(rock->model->name.Find("Rock4"), 0);
    for (int value : {-1, 7, 2147483647}) {
        rock->SetTeam(value);
        EXPECT_GE(rock->team, 0);
        EXPECT_LE(rock->team, 5);
    }
    Tree* tree = arena->NewTree();
    tree->SetTeam(2);
    EXPECT_EQ(tree->model->name.Find("PalmTree"), 0);
}

TEST_F(StaticsTest, RocksAndTreesReadBackWhatTheyWrite) {
    Rock* rock = Listed(arena->NewRock(), 20, 30);
    rock->SetTeam(4);
    rock->heading = 2.5f;
    Rock* rockCopy = arena->NewRock();
    RoundTrip(*rock, *rockCopy);
    EXPECT_EQ(rockCopy->team, 4);
    EXPECT_EQ(rockCopy->position, rock->position);
    EXPECT_FLOAT_EQ(rockCopy->heading, 2.5f);
    EXPECT_EQ(rockCopy->health, 1000.0f);
    EXPECT_EQ(rockCopy->loadedId, rock->id);

    Tree* tree = Listed(arena->NewTree(), 60, 70);
    tree->SetTeam(5);
    tree->TakeDamage(&red, tree->position, 12.5f, 0);
    Tree* treeCopy = Listed(arena->NewTree(), 1, 1);
    RoundTrip(*tree, *treeCopy);
    EXPECT_EQ(treeCopy->team, 5);
    EXPECT_EQ(treeCopy->position, Vector3(60, 70, 0));
    EXPECT_FLOAT_EQ(treeCopy->health, 27.5f);
    EXPECT_FLOAT_EQ(treeCopy->maxHealth, 40.0f);
}

TEST_F(StaticsTest, DamageLightsMoreFiresAsATreeBurnsDown) {
    Tree* tree = Listed(arena->NewTree(), 50, 50);
    tree->TakeDamage(&red, tree->position, 10.0f, 0);
    EXPECT_EQ(tree->health, 30.0f);
    ASSERT_EQ(tree->fires.Count(), 1);
    EXPECT_NEAR(tree->fires.At(0)->shape.Radius(), 0.5333f, 1e-4f);
    EXPECT_EQ(tree->fires.At(0)->style, FirePuff::kStyleGlow);
    tree->TakeDamage(&red, tree->position, 3.0f, 0);
    ASSERT_EQ(tree->fires.Count(), 2);
    EXPECT_NEAR(tree->fires.At(1)->shape.Radius(), 0.6667f, 1e-4f);

    Tree* other = Listed(arena->NewTree(), 90, 90);
    other->TakeDamage(&red, other->position, 10.0f, 0);
    other->TakeDamage(&red, other->position, 5.0f, 0);
    ASSERT_EQ(other->fires.Count(), 3);
    EXPECT_NEAR(other->fires.At(1)->shape.Radius(), 0.6667f, 1e-4f);
    EXPECT_NEAR(other->fires.At(2)->shape.Radius(), 0.8f, 1e-4f);
    EXPECT_EQ(CountKind(kKindFirePuff), 5);
}

TEST_F(StaticsTest, ATreeFallsInTenFiresThatBurnOut) {
    Tree* tree = Listed(arena->NewTree(), 50, 50);
    tree->TakeDamage(&red, tree->position, 10.0f, 0);
    tree->TakeDamage(&red, tree->position, 40.0f, 0);
    EXPECT_TRUE(tree->removed);
    ASSERT_EQ(tree->fires.Count(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(tree->fires.At(i)->ending);
    }
    EXPECT_NEAR(tree->fires.At(9)->shape.Radius(), 1.6f, 1e-5f);
    arena->RemoveFlaggedObjects(false);
    EXPECT_EQ(CountKind(kKindTree), 0);
    EXPECT_EQ(CountKind(kKindFirePuff), 10);

    ClientGame client;
    SetCurrentGame(&client);
    Tree* remote = Listed(arena->NewTree(), 90, 90);
    remote->TakeDamage(&red, remote->position, 45.0f, 0);
    EXPECT_FALSE(remote->removed);
    EXPECT_EQ(remote->fires.Count(), 0);
}

TEST_F(StaticsTest, FiresFollowTheTreeAndLeaveItWhenTheyAreRemoved) {
    Tree* tree = Listed(arena->NewTree(), 50, 50);
    tree->TakeDamage(&red, tree->position, 10.0f, 0);
    FirePuff* fire = tree->fires.At(0);
    const Vector3 offset = fire->position - tree->position;
    tree->PlaceAt(Vector3(60, 50, 0));
    EXPECT_NEAR(fire->position.x, 60 + offset.x, 1e-4f);
    EXPECT_NEAR(fire->position.y, 50 + offset.y, 1e-4f);
    tree->RotateFires(kPi / 2.0f);
    EXPECT_NEAR(fire->position.x, 60 - offset.y, 1e-4f);
    EXPECT_NEAR(fire->position.y, 50 + offset.x, 1e-4f);

    // The puff's pool slot is handed out again: the tree no longer moves it.
    arena->RemoveObject(fire, false);
    EXPECT_EQ(tree->fires.Count(), 0);
    arena->FlushObjectPools();
    FirePuff* reused = arena->NewFirePuff();
    arena->AddObject(reused);
    reused->PlaceAt(Vector3(10, 10, 1));
    tree->PlaceAt(Vector3(70, 50, 0));
    EXPECT_EQ(reused->position, Vector3(10, 10, 1));
    // A removed tree forgets its fires and stops listening for removals.
    arena->RemoveObject(tree, false);
    EXPECT_EQ(tree->fires.Count(), 0);
}

}  // namespace
