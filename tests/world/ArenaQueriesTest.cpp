#include <cmath>
#include <vector>

#include "core/MathUtil.h"
#include "support/ArenaFixture.h"
#include "world/ContactRecord.h"
#include "world/Rock.h"

namespace {

using ArenaQueriesTest = ArenaFixture;

CollisionShape Sphere(const Vector3& centre, float r) {
    CollisionShape shape;
    shape.SetSphere(centre, r);
    return shape;
}

TEST_F(ArenaQueriesTest, FirstHitReachesAcrossTheWrap) {
    Probe* target = AddProbe(kW - 0.5f, 40, 1.0f, kKindTree);
    ContactRecord hit;
    EXPECT_TRUE(arena->FindFirstHit(nullptr, Sphere(Vector3(0.8f, 40, 1), 1.0f), &hit, nullptr));
    EXPECT_EQ(hit.otherObject, target);
    // The object itself is back in the arena afterwards.
    EXPECT_FLOAT_EQ(target->shape.sphereCentre.x, kW - 0.5f);
    EXPECT_FALSE(arena->FindFirstHit(nullptr, Sphere(Vector3(2.0f, 40, 1), 0.5f), &hit, nullptr));
    EXPECT_FALSE(arena->FindFirstHit(nullptr, Sphere(Vector3(0.8f, 40, 1), 1.0f), &hit, target));
}

// Walks pass over far objects by a bound before the exact test: shapes that just touch,
// across the edge or not, must still reach the exact test and count.
TEST_F(ArenaQueriesTest, TouchingShapesHitAcrossTheWrapAndBeside) {
    Probe* across = AddProbe(kW - 1.0f, 40, 1.0f, kKindTree);
    Probe* beside = AddProbe(40, 100, 1.0f, kKindTree);
    const float z = across->shape.sphereCentre.z;
    ContactRecord hit;
    EXPECT_TRUE(arena->FindFirstHit(nullptr, Sphere(Vector3(1.0f, 40, z), 1.0f), &hit, nullptr));
    EXPECT_EQ(hit.otherObject, across);
    EXPECT_TRUE(arena->FindFirstHit(nullptr, Sphere(Vector3(40, 102, z), 1.0f), &hit, nullptr));
    EXPECT_EQ(hit.otherObject, beside);
    EXPECT_FALSE(arena->FindFirstHit(nullptr, Sphere(Vector3(40, 102.01f, z), 1.0f), &hit, nullptr));
}

TEST_F(ArenaQueriesTest, FirstHitIsTheFirstInWalkOrderNotTheNearest) {
    // The sweep runs from x = 30 to x = 10; the far object lies in a lower column.
    Probe* far = AddProbe(11, 50, 1.0f, kKindRock);
    AddProbe(29, 50, 1.0f, kKindRock);
    CollisionShape sweep;
    sweep.SetCylinder(Vector3(30, 50, 1), Vector3(10, 50, 1), 0.5f);
    ContactRecord hit;
    ASSERT_TRUE(arena->FindFirstHit(nullptr, sweep, &hit, nullptr));
    EXPECT_EQ(hit.otherObject, far);
}

// Walks that only want what units see or bump into read the grid of bodies: it must hold
// every such object of a cell, in the full grid's order, and follow them as they move.
TEST_F(ArenaQueriesTest, TheBodyGridFollowsTheFullGrid) {
    for (int kind = 0; kind < kObjectKindCount; ++kind) {
        EXPECT_TRUE(!IsSolidKind(kind) || IsBodyKind(kind)) << kind;
        WorldObject* object = arena->NewObjectOfKind(kind);
        EXPECT_TRUE(object == nullptr || !object->IsPatternTarget() || IsBodyKind(kind)) << kind;
        // The matcher's gathering reads the kind table instead of asking each object.
        EXPECT_TRUE(object == nullptr || object->IsPatternTarget() == IsPatternTargetKind(kind)) << kind;
    }
    const int kinds[] = {kKindFlameBall, kKindVorn, kKindScorchMark, kKindTree, kKindLaserBeam, kKindSmokePuff};
    std::vector<Probe*> added;
    for (int k = 0; k < 6; ++k) {
        added.push_back(AddProbe(42.0f + 0.5f * static_cast<float>(k), 42.0f, 0.5f, kinds[k]));
    }
    added[3]->PlaceAt(Vector3(120.0f, 120.0f, 0.0f));
    const Point cell = arena->CellOfPoint(Vector3(43, 42, 0));
    std::vector<WorldObject*> expected;
    for (WorldObject* object : arena->GridCell(cell.x, cell.y)) {
        if (IsBodyKind(object->kind)) {
            expected.push_back(object);
        }
    }
    EXPECT_EQ(expected, (std::vector<WorldObject*>{added[1], added[4]}));
    const GridCell& bodies = arena->BodyCell(cell.x, cell.y);
    EXPECT_EQ(std::vector<WorldObject*>(bodies.begin(), bodies.end()), expected);
    // A flame ball meets rocks, which are bodies, and units nothing else.
    CollisionShape sweep;
    sweep.SetCylinder(Vector3(40, 42, 0), Vector3(46, 42, 0), 0.5f);
    ContactRecord hit;
    ASSERT_TRUE(arena->FindFirstHit(added[1], sweep, &hit, nullptr));
    EXPECT_EQ(hit.otherObject, added[4]);
}

TEST_F(ArenaQueriesTest, MovesStopAtObjectsBeyondTheEdge) {
    Probe* mover = AddProbe(2, 80, 0.5f, kKindSoccerBall);
    Probe* wall = AddProbe(kW - 2, 80, 1.0f, kKindSolarCharger);
    ContactRecord hit;
    EXPECT_FALSE(arena->MoveWithCollision(mover, Vector3(2, 80, 0.5f), Vector3(kW - 1, 80, 0.5f), &hit, nullptr));
    EXPECT_EQ(hit.otherObject, wall);
    EXPECT_TRUE(arena->MoveWithCollision(mover, Vector3(2, 80, 0.5f), Vector3(6, 80, 0.5f), &hit, nullptr));
    // The pair rule applies: a flame ball passes units.
    Probe* flame = AddProbe(2, 100, 0.5f, kKindFlameBall);
    AddProbe(5, 100, 1.0f, kKindVorn);
    EXPECT_TRUE(arena->MoveWithCollision(flame, Vector3(2, 100, 0.5f), Vector3(8, 100, 0.5f), nullptr, nullptr));
}

// A flame ball's walk skips cells without rocks: it must still meet a rock wherever the
// rock went, across the wrap too, and pass where it left.
TEST_F(ArenaQueriesTest, FlameBallsMeetRocksWhereverTheRocksStand) {
    Probe* flame = AddProbe(2, 60, 0.5f, kKindFlameBall);
    Probe* rock = AddProbe(kW - 1.5f, 60, 1.0f, kKindRock);
    const float z = rock->shape.sphereCentre.z;
    const auto hits = [&](float fromX, float toX, float y) {
        ContactRecord hit;
        return arena->MoveWithCollision(flame, Vector3(fromX, y, z), Vector3(toX, y, z), &hit, nullptr) ? nullptr
                                                                                                        : hit.otherObject;
    };
    EXPECT_EQ(hits(2, -3, 60), rock);
    rock->PlaceAt(Vector3(kW - 1.0f, 60, 0));
    EXPECT_EQ(hits(2, -3, 60), rock);
    rock->PlaceAt(Vector3(80, 120, 0));
    EXPECT_EQ(hits(2, -3, 60), nullptr);
    EXPECT_EQ(hits(76, 84, 120), rock);
    arena->DetachObject(rock);
    EXPECT_EQ(hits(76, 84, 120), nullptr);
}

TEST_F(ArenaQueriesTest, BlastDamageFallsOffBetweenInnerAndOuterRadius) {
    Probe* near = AddProbe(40, 40, 1.0f, kKindTree);        // surface 1 from the centre
    Probe* middle = AddProbe(44.5f, 40, 1.0f, kKindTree);   // surface 5.5 away
    Probe* outside = AddProbe(40, 51.5f, 1.0f, kKindTree);  // surface 10.5 away
    Probe* debris = AddProbe(42, 40, 1.0f, kKindDebris);
    for (Probe* p : {near, middle, outside}) {
        p->ResetHealth(100.0f);
    }
    const Vector3 centre(38, 40, 0);
    arena->ApplyBlast(nullptr, centre, 10.0f, 10.0f, 0.0f, 0);
    EXPECT_FLOAT_EQ(near->health, 90.0f);
    EXPECT_NEAR(middle->health, 95.0f, 1e-4f);
    EXPECT_FLOAT_EQ(outside->health, 100.0f);
    EXPECT_FLOAT_EQ(debris->health, 10.0f);
    // Trees are synced: each hit is reported after the damage, with the blast's kind.
    ASSERT_EQ(game.healthReports.size(), 2u);
    EXPECT_EQ(game.healthReports[0].object, near);
    EXPECT_EQ(game.healthReports[0].code, 0);
}

TEST_F(ArenaQueriesTest, BlastsReachAcrossTheWrapAndWithoutFalloffDealFullDamage) {
    Probe* across = AddProbe(kW - 2, 20, 1.0f, kKindRock);
    across->ResetHealth(50.0f);
    arena->ApplyBlast(nullptr, Vector3(3, 20, 1), 8.0f, 6.0f, 6.0f, 3);
    EXPECT_FLOAT_EQ(across->health, 42.0f);
    Probe* beyond = AddProbe(30, 20, 1.0f, kKindRock);
    beyond->ResetHealth(50.0f);
    arena->ApplyBlast(nullptr, Vector3(20, 20, 1), 8.0f, 6.0f, 6.0f, 3);
    EXPECT_FLOAT_EQ(beyond->health, 50.0f);
}

TEST_F(ArenaQueriesTest, ADeathThatStartsABlastRunsAfterTheWalk) {
    Probe* first = AddProbe(60, 60, 1.0f, kKindTree);
    Probe* second = AddProbe(63, 60, 1.0f, kKindTree);
    Probe* third = AddProbe(70, 60, 1.0f, kKindTree);
    first->ResetHealth(1.0f);
    second->ResetHealth(1.0f);
    third->ResetHealth(1.0f);
    int blasts = 0;
    first->onDamage = [&](Probe& p) {
        if (p.health <= 0.0f) {
            ++blasts;
            // Kills the second (already hit and dead by then) and reaches the third.
            arena->ApplyBlast(nullptr, p.position, 5.0f, 12.0f, 0.0f, 0);
        }
    };
    arena->ApplyBlast(nullptr, Vector3(61.5f, 60, 1), 5.0f, 3.0f, 0.0f, 0);
    EXPECT_EQ(blasts, 1);
    EXPECT_LE(first->health, 0.0f);
    EXPECT_LE(second->health, 0.0f);
    EXPECT_LE(third->health, 0.0f);
    // The second tree died in the first walk; the nested blast skips the dead.
    int secondHits = 0;
    for (const HealthReport& r : game.healthReports) {
        secondHits += r.object == second ? 1 : 0;
    }
    EXPECT_EQ(secondHits, 1);
}

TEST_F(ArenaQueriesTest, FlameDamageScalesWithPathLength) {
    Probe* flame = AddProbe(20, 100, 0.5f, kKindFlameBall);
    Probe* small = AddProbe(22, 100, 1.0f, kKindVorn);
    Probe* big = AddProbe(22, 110, 3.0f, kKindTree);
    Probe* rock = AddProbe(22, 103, 1.0f, kKindRock);
    small->ResetHealth(100.0f);
    big->ResetHealth(100.0f);
    rock->ResetHealth(100.0f);
    flame->previousShape = Sphere(Vector3(20, 100, 1), 0.5f);
    flame->shape = Sphere(Vector3(24, 100, 1), 0.5f);
    arena->SweepDamage(nullptr, flame, 10.0f, 2);
    EXPECT_FLOAT_EQ(small->health, 95.0f);
    EXPECT_FLOAT_EQ(rock->health, 100.0f);
    flame->previousShape = Sphere(Vector3(20, 110, 3), 0.5f);
    flame->shape = Sphere(Vector3(24, 110, 3), 0.5f);
    arena->SweepDamage(nullptr, flame, 10.0f, 2);
    EXPECT_FLOAT_EQ(big->health, 90.0f);
    // Units and trees are synced: reported at the path start, with code 2.
    ASSERT_EQ(game.healthReports.size(), 2u);
    EXPECT_EQ(game.healthReports[1].object, big);
    EXPECT_EQ(game.healthReports[1].point, Vector3(20, 110, 3));
    EXPECT_FLOAT_EQ(game.healthReports[1].amount, 10.0f);
    EXPECT_EQ(game.healthReports[1].code, 2);
}

TEST_F(ArenaQueriesTest, FlamePathsWrapAroundTheEdge) {
    Probe* flame = AddProbe(2, 130, 0.5f, kKindFlameBall);
    Probe* victim = AddProbe(kW - 1, 130, 1.0f, kKindVorn);
    victim->ResetHealth(100.0f);
    flame->previousShape = Sphere(Vector3(2, 130, 1), 0.5f);
    flame->shape = Sphere(Vector3(kW - 2, 130, 1), 0.5f);
    // A path of length 4 across the edge through a body of diameter 2: half the damage.
    arena->SweepDamage(nullptr, flame, 8.0f, 2);
    EXPECT_FLOAT_EQ(victim->health, 96.0f);
}

TEST_F(ArenaQueriesTest, WalkStampsStartOverWhenTheCounterComesRound) {
    WorldObject* target = AddKind(kKindSoccerBall, 80, 80);
    EXPECT_TRUE(arena->FindFirstHit(nullptr, Sphere(Vector3(80, 80, 1), 1.0f), nullptr, nullptr));
    EXPECT_EQ(target->visitStamp, 0);
    arena->SetVisitStamp(0xFFFFFFFEu);
    EXPECT_EQ(arena->BeginWalk(), 0u);
    EXPECT_EQ(target->visitStamp, -1);
    EXPECT_TRUE(arena->FindFirstHit(nullptr, Sphere(Vector3(80, 80, 1), 1.0f), nullptr, nullptr));
}

TEST_F(ArenaQueriesTest, PlacementPerKind) {
    EXPECT_TRUE(arena->PlaceObjectAt(kKindRock, 2, Vector3(50, 50, 9)));
    WorldObject* rock = arena->ObjectAt(arena->ObjectCount() - 1);
    EXPECT_EQ(rock->kind, kKindRock);
    EXPECT_EQ(rock->team, 2);
    EXPECT_EQ(rock->position, Vector3(50, 50, 0));
    EXPECT_GE(rock->heading, 0.0f);
    EXPECT_LE(rock->heading, kPi);
    // A tree's 2.6 cylinder next to the rock's 2.0 one does not fit 4 units away.
    EXPECT_FALSE(arena->PlaceObjectAt(kKindTree, 0, Vector3(54, 50, 0)));
    EXPECT_TRUE(arena->PlaceObjectAt(kKindTree, 0, Vector3(55, 50, 0)));
    // Goals need no free spot.
    EXPECT_TRUE(arena->PlaceObjectAt(kKindGoal, 1, Vector3(50, 50, 0)));
    EXPECT_FALSE(arena->PlaceObjectAt(kKindMissile, 0, Vector3(90, 90, 0)));
    EXPECT_EQ(arena->ObjectCount(), 3);
}

TEST_F(ArenaQueriesTest, DroppedCylindersRemoveThemselvesAndSpheresStack) {
    AddProbe(100, 100, 1.5f, kKindVorn);
    WorldObject* rock = AddKind(kKindRock, 100, 100);
    arena->SettleObject(rock);
    EXPECT_TRUE(rock->removed);

    WorldObject* base = AddKind(kKindRock, 120, 120);
    WorldObject* ball = AddKind(kKindSoccerBall, 120, 120);
    arena->ResolvePlacementOverlap(ball, 1.0f);
    // Rock height 0 + extents (0.75 + 2.0 + 2.6) + step 1.
    EXPECT_FLOAT_EQ(ball->position.z, base->position.z + 0.75f + 4.6f + 1.0f);
    EXPECT_FALSE(ball->removed);
}

TEST_F(ArenaQueriesTest, UnitsAreNotPlacedFromUnreadableFiles) {
    EXPECT_EQ(arena->PlaceVornAt("NoSuchUnit", Vector3(10, 10, 0), nullptr), nullptr);
    EXPECT_EQ(arena->PlaceChassisAt(6, Vector3(10, 10, 0), nullptr), nullptr);
    EXPECT_EQ(arena->ObjectCount(), 0);
}

TEST_F(ArenaQueriesTest, NearestObjectUsesWrappedImagesAndFirstWinsATie) {
    Probe* a = AddProbe(kW - 1, 10, 1, kKindTree);
    Probe* b = AddProbe(5, 10, 1, kKindRock);
    a->position.z = 1;
    b->position.z = 1;
    Vector3 image;
    EXPECT_EQ(arena->NearestObject(Vector3(2, 10, 1), &image), a);
    EXPECT_EQ(image, Vector3(-1, 10, 1));
    EXPECT_EQ(arena->NearestObjectOfKind(Vector3(4, 10, 1), &image, kKindRock), b);
    EXPECT_EQ(arena->NearestObjectOfKind(Vector3(4, 10, 1), &image, kKindGoal), nullptr);
}

TEST_F(ArenaQueriesTest, PlaceFreeTestKeepsAMargin) {
    AddProbe(70, 70, 1.0f, kKindRock);
    EXPECT_FALSE(arena->IsPlaceFree(Sphere(Vector3(72.005f, 70, 0), 1.0f), nullptr));
    EXPECT_TRUE(arena->IsPlaceFree(Sphere(Vector3(72.02f, 70, 0), 1.0f), nullptr));
}

}  // namespace
