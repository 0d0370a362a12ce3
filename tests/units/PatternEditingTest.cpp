// Editing a pattern: limits, hit tests, adding and removing through the pools, action
// rings, and the operations on pattern objects.
#include <cmath>

#include <gtest/gtest.h>

#include "core/MemoryBlock.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "units/PolarLayout.h"

#include "support/PatternFixture.h"

namespace {

class PatternEditingTest : public PatternFixture {
protected:
    PatternObject* NewObject(int32_t kind, Vector2 at) {
        PatternObject* object = gArena->NewPatternObject();
        object->kind = kind;
        object->position = at;
        object->facing = at;
        return object;
    }
    PatternObject* Add(int32_t kind, Vector2 at) {
        PatternObject* object = NewObject(kind, at);
        pattern().AddObject(object);
        return object;
    }
    Action* AddAction(PathPoint& point, int32_t kind, Vector2 at = {}) {
        Action* action = point.AddAction();
        action->kind = kind;
        action->point = at;
        return action;
    }

    bool full = false;
    bool onlyOne = false;
};

TEST_F(PatternEditingTest, CountLimitsSetTheFullFlag) {
    for (int i = 1; i < 9; ++i) {
        ASSERT_TRUE(pattern().CanAddPathPoint({float(i), 0.0f}, full));
        pattern().AddPathPoint();
    }
    EXPECT_FALSE(pattern().CanAddPathPoint({0.0f, 0.0f}, full));
    EXPECT_TRUE(full);

    for (int i = 1; i < 9; ++i) {
        Add(kPatternEnemy, {-16.0f + 4.0f * i, 10.0f});
    }
    PatternObject* tenth = NewObject(kPatternEnemy, {0.0f, -10.0f});
    EXPECT_FALSE(pattern().CanAddObject(tenth, full, onlyOne));
    EXPECT_TRUE(full);
    // Moving a listed object is tested for its place only.
    PatternObject* listed = pattern().objects[3];
    listed->position = Vector2(0.0f, -10.0f);
    EXPECT_TRUE(pattern().CanAddObject(listed, full, onlyOne));
    EXPECT_FALSE(full);
    gArena->FreePatternObject(tenth);

    for (int i = 0; i < 8; ++i) {
        MapConditional* condition = gArena->NewMapConditional();
        ASSERT_TRUE(pattern().CanAddMapConditional(condition, full));
        pattern().AddMapConditional(condition);
    }
    MapConditional* ninth = gArena->NewMapConditional();
    EXPECT_FALSE(pattern().CanAddMapConditional(ninth, full));
    EXPECT_TRUE(full);
    EXPECT_TRUE(pattern().CanAddMapConditional(pattern().mapConditionals[0], full));
    ninth->position = Vector2(20.0f, 0.0f);
    pattern().mapConditionals[0]->position = Vector2(12.0f, 16.0f);  // exactly 20 away
    EXPECT_TRUE(pattern().CanAddMapConditional(pattern().mapConditionals[0], full));
    pattern().mapConditionals[0]->position = Vector2(12.0f, 16.01f);
    EXPECT_FALSE(pattern().CanAddMapConditional(pattern().mapConditionals[0], full));
    gArena->FreeMapConditional(ninth);
}

TEST_F(PatternEditingTest, PathPointsStayInTheEditingArea) {
    EXPECT_TRUE(pattern().CanAddPathPoint({25.0f, -25.0f}, full));
    EXPECT_FALSE(pattern().CanAddPathPoint({25.01f, 0.0f}, full));
    EXPECT_FALSE(full);
}

TEST_F(PatternEditingTest, SingleKindsAreRefusedTwice) {
    for (int32_t kind : {kPatternBeacon, kPatternFriendGoal, kPatternEnemyGoal}) {
        PatternObject* first = NewObject(kind, {0.0f, 15.0f});
        ASSERT_TRUE(pattern().CanAddObject(first, full, onlyOne)) << kind;
        pattern().AddObject(first);
        PatternObject* second = NewObject(kind, {0.0f, -15.0f});
        EXPECT_FALSE(pattern().CanAddObject(second, full, onlyOne)) << kind;
        EXPECT_TRUE(onlyOne);
        EXPECT_FALSE(full);
        gArena->FreePatternObject(second);
    }
}

TEST_F(PatternEditingTest, BoundedKindsStayWithinTwenty) {
    PatternObject* tree = NewObject(kPatternTree, {12.0f, 16.0f});
    EXPECT_TRUE(pattern().CanAddObject(tree, full, onlyOne));
    tree->position = Vector2(20.001f, 0.0f);
    EXPECT_FALSE(pattern().CanAddObject(tree, full, onlyOne));
    tree->PlaceInside({20.001f, 0.0f});
    EXPECT_FLOAT_EQ(tree->position.x, 20.0f - 0.00001f);
    EXPECT_TRUE(pattern().CanAddObject(tree, full, onlyOne));
    // Unbounded kinds only have to stay in the area, corners included.
    PatternObject* goal = NewObject(kPatternEnemyGoal, {0.0f, 0.0f});
    goal->PlaceInside({40.0f, -30.0f});
    EXPECT_EQ(goal->position, Vector2(25.0f, -25.0f));
    EXPECT_TRUE(pattern().CanAddObject(goal, full, onlyOne));
    goal->ClampToRadius();
    EXPECT_NEAR(goal->position.Length(), 20.0f, 1e-4f);
    gArena->FreePatternObject(tree);
    gArena->FreePatternObject(goal);
}

TEST_F(PatternEditingTest, ExclusiveObjectsMayNotOverlap) {
    Add(kPatternRock, {10.0f, 0.0f});
    PatternObject* rock = NewObject(kPatternRock, {14.0f, 0.0f});  // 2.0 + 2.0 apart
    EXPECT_FALSE(pattern().CanAddObject(rock, full, onlyOne));
    rock->position = Vector2(14.01f, 0.0f);
    EXPECT_TRUE(pattern().CanAddObject(rock, full, onlyOne));
    // The own object counts: a friend of radius 1.4 beside it.
    rock->position = Vector2(3.4f, 0.0f);
    EXPECT_FALSE(pattern().CanAddObject(rock, full, onlyOne));
    // Fields overlap anything.
    PatternObject* field = NewObject(kPatternGooField, {10.0f, 0.0f});
    EXPECT_TRUE(pattern().CanAddObject(field, full, onlyOne));
    gArena->FreePatternObject(rock);
    gArena->FreePatternObject(field);
}

TEST_F(PatternEditingTest, ActionRingsRunClockwiseFromPlusX) {
    PathPoint* point = pattern().AddPathPoint();
    point->position = Vector2(2.0f, 1.0f);
    Action* aimed = AddAction(*point, kActionFire1, {9.0f, 9.0f});
    Action* one = AddAction(*point, kActionSetSwitch1);
    pattern().LayoutActionRings();
    ExpectNear(one->point, {5.5f, 1.0f});
    EXPECT_EQ(aimed->point, Vector2(9.0f, 9.0f));
    Action* more[3] = {AddAction(*point, kActionSetSignal1), AddAction(*point, kActionClearBeacon),
                       AddAction(*point, kActionSetTimer)};
    point->LayoutActionRing();
    ExpectNear(one->point, {5.5f, 1.0f});
    ExpectNear(more[0]->point, {2.0f, -2.5f});
    ExpectNear(more[1]->point, {-1.5f, 1.0f});
    ExpectNear(more[2]->point, {2.0f, 4.5f});
    EXPECT_EQ(point->ActionIconAt({2.0f, -2.0f}), more[0]);
    EXPECT_EQ(point->ActionIconAt({9.0f, 9.0f}), nullptr);
}

TEST_F(PatternEditingTest, ActionRingBand) {
    PathPoint& point = *pattern().pathPoints[0];
    AddAction(point, kActionFire2, {3.0f, 0.0f});
    EXPECT_FALSE(point.HitsActionRing({2.0f, 0.0f}));
    AddAction(point, kActionSetSwitch2);
    EXPECT_FALSE(point.HitsActionRing({1.3f, 0.0f}));
    EXPECT_TRUE(point.HitsActionRing({1.5f, 0.0f}));
    EXPECT_TRUE(point.HitsActionRing({0.0f, -4.8f}));
    EXPECT_FALSE(point.HitsActionRing({5.0f, 0.0f}));
}

TEST_F(PatternEditingTest, FacingHandleOfAPathPoint) {
    PathPoint* point = pattern().AddPathPoint();
    point->position = Vector2(5.0f, 5.0f);
    point->facing = Vector2(6.0f, 5.0f);
    EXPECT_FALSE(point->HasFacing());
    point->SetPosition({0.0f, 8.0f});
    EXPECT_EQ(point->facing, Vector2(0.0f, 8.0f));
    point->facing = Vector2(0.0f, 10.0f);
    EXPECT_TRUE(point->HasFacing());
    point->SetPosition({3.0f, 8.0f});
    EXPECT_EQ(point->facing, Vector2(0.0f, 10.0f));
    Array<PathPoint*> found;
    pattern().FacingHandlesNear({0.5f, 10.0f}, found);
    ASSERT_EQ(found.Count(), 1);
    pattern().FacingHandlesNear({0.7f, 10.0f}, found);
    EXPECT_EQ(found.Count(), 0);
}

TEST_F(PatternEditingTest, ActionsComeFromThePoolAndGoBack) {
    PathPoint& point = *pattern().pathPoints[0];
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(AddAction(point, kActionTurnToFace, {float(i), 0.0f}), nullptr);
    }
    EXPECT_EQ(point.AddAction(), nullptr);
    EXPECT_EQ(point.actions.Count(), 8);
    Action* third = point.actions[2];
    Action* fourth = point.actions[3];
    MemoryBlock* pool = gArena->PoolAt(28);
    const int pending = pool->PendingCount();
    point.RemoveAction(third);
    EXPECT_EQ(pool->PendingCount(), pending + 1);
    EXPECT_EQ(point.actions[2], fourth);
    int actionIndex = 0;
    EXPECT_EQ(pattern().FindAction(fourth, actionIndex), 0);
    EXPECT_EQ(actionIndex, 2);
    EXPECT_EQ(pattern().FindAction(third, actionIndex), -1);
    point.SetActionCount(3);
    EXPECT_EQ(pool->PendingCount(), pending + 5);
}

TEST_F(PatternEditingTest, RemovingKeepsOrderAndTheStartPoint) {
    PathPoint* a = pattern().AddPathPoint();
    PathPoint* b = pattern().AddPathPoint();
    PathPoint* c = pattern().AddPathPoint();
    pattern().RemovePathPoint(b);
    ASSERT_EQ(pattern().pathPoints.Count(), 3);
    EXPECT_EQ(pattern().pathPoints[1], a);
    EXPECT_EQ(pattern().pathPoints[2], c);
    PathPoint* start = pattern().pathPoints[0];
    pattern().RemovePathPoint(start);
    EXPECT_EQ(pattern().pathPoints[0], start);

    PatternObject* rock = Add(kPatternRock, {5.0f, 5.0f});
    PatternObject* tree = Add(kPatternTree, {-5.0f, 5.0f});
    EXPECT_EQ(pattern().Layout().Size(), 2);
    pattern().RemoveObject(rock);
    EXPECT_EQ(pattern().Layout().Size(), 1);
    EXPECT_EQ(pattern().objects[1], tree);
    PatternObject* own = pattern().ownObject;
    pattern().RemoveObject(own);
    EXPECT_EQ(pattern().ownObject, nullptr);
    EXPECT_EQ(pattern().objects[0], tree);
}

TEST_F(PatternEditingTest, FindingAndHitTests) {
    PatternObject* e1 = Add(kPatternEnemy, {10.0f, 0.0f});
    Add(kPatternTree, {0.0f, 10.0f});
    PatternObject* e2 = Add(kPatternEnemy, {-10.0f, 0.0f});
    EXPECT_EQ(pattern().FindObjectOfKind(kPatternEnemy, 1), e2);
    EXPECT_EQ(pattern().FindObjectOfKind(kPatternEnemy, 2), nullptr);
    EXPECT_EQ(pattern().ObjectOrdinal(e2), 1);
    EXPECT_EQ(pattern().ObjectOrdinal(e1), 0);
    EXPECT_EQ(pattern().ObjectOrdinal(nullptr), -1);

    Array<PatternObject*> objects;
    pattern().ObjectsNear({11.3f, 0.0f}, objects);
    ASSERT_EQ(objects.Count(), 1);
    pattern().ObjectsNear({11.41f, 0.0f}, objects);
    EXPECT_EQ(objects.Count(), 0);
    pattern().ObjectsNear({0.0f, 0.0f}, objects);  // never the own object
    EXPECT_EQ(objects.Count(), 0);
    e1->facing = Vector2(10.0f, 3.0f);
    pattern().ObjectHandlesNear({10.0f, 3.5f}, objects);
    EXPECT_EQ(objects.Count(), 1);

    PathPoint* second = pattern().AddPathPoint();
    second->position = Vector2(4.0f, 4.0f);
    AddAction(*pattern().pathPoints[0], kActionFire1, {10.0f, 0.5f});
    AddAction(*second, kActionSetSwitch1, {10.0f, 0.0f});
    AddAction(*second, kActionFire2Up, {10.5f, 0.0f});
    AddAction(*second, kActionTurnToFace, {10.0f, -0.5f});
    Array<Action*> actions;
    Array<PathPoint*> points;
    pattern().ActionsNear({10.0f, 0.0f}, actions, points);
    ASSERT_EQ(actions.Count(), 3);
    ASSERT_EQ(points.Count(), 3);
    EXPECT_EQ(points[0], pattern().pathPoints[0]);
    EXPECT_EQ(actions[1], second->actions[1]);
    EXPECT_EQ(points[2], second);
    pattern().PathPointsNear({0.0f, 1.3f}, points);
    EXPECT_EQ(points.Count(), 1);
}

TEST_F(PatternEditingTest, PropertyGroups) {
    PatternObject object;
    object.SetProperty(kPropertySmallChassis, true);
    object.SetProperty(kPropertyVIP, true);
    object.SetProperty(kPropertyMediumChassis, true);
    EXPECT_EQ(object.PropertyCount(), 2);
    EXPECT_EQ(object.properties[kPropertyMediumChassis], 1);
    EXPECT_EQ(object.properties[kPropertyVIP], 1);
    object.SetProperty(kPropertyNotInjured, false);
    object.SetProperty(kPropertyHasBall, true);
    object.SetProperty(kPropertyNotVIP, true);
    EXPECT_EQ(object.properties[kPropertyVIP], 0);
    EXPECT_EQ(object.PropertyCount(), 3);
    PatternObject other;
    EXPECT_FALSE(object.SameProperties(other));
    other.CopyFrom(object);
    EXPECT_TRUE(object.SameProperties(other));
}

TEST_F(PatternEditingTest, FacingOfObjects) {
    PatternObject friendly;
    friendly.kind = kPatternFriend;
    friendly.position = Vector2(3.0f, 3.0f);
    friendly.facing = Vector2(4.0f, 3.0f);
    EXPECT_FALSE(friendly.HasFacing());
    friendly.SetPosition({5.0f, 0.0f});
    EXPECT_EQ(friendly.facing, Vector2(5.0f, 0.0f));
    EXPECT_EQ(friendly.FacingDirection(), Vector2(1.0f, 0.0f));
    friendly.facing = Vector2(5.0f, -3.0f);
    EXPECT_TRUE(friendly.HasFacing());
    ExpectNear(friendly.FacingDirection(), {0.0f, -1.0f});
    friendly.kind = kPatternRock;
    EXPECT_EQ(friendly.FacingDirection(), Vector2(1.0f, 0.0f));
    EXPECT_TRUE(friendly.SetKindByName("Friend"));
    EXPECT_EQ(friendly.kind, kPatternFriend);
    EXPECT_FALSE(friendly.SetKindByName("friend"));
    EXPECT_EQ(friendly.kind, kPatternFriend);
}

TEST_F(PatternEditingTest, PropertyIconsAndRing) {
    PatternObject enemy;
    enemy.kind = kPatternEnemy;
    enemy.position = Vector2(1.0f, 1.0f);
    EXPECT_FALSE(enemy.HitsPropertyRing({1.0f, 4.0f}));
    enemy.SetProperty(kPropertyInjured, true);
    enemy.SetProperty(kPropertyHasBall, true);
    Vector2 places[8];
    places[1] = Vector2(-9.0f, -9.0f);
    enemy.LayoutPropertyIcons(places);
    const float r = 1.5f * 1.4f + 1.4f;
    ExpectNear(places[kPropertyInjured], {1.0f + r, 1.0f});
    ExpectNear(places[kPropertyHasBall], {1.0f - r, 1.0f});
    EXPECT_EQ(places[1], Vector2(-9.0f, -9.0f));
    EXPECT_EQ(enemy.HitPropertyIcon({1.0f - r + 1.0f, 1.5f}), kPropertyHasBall);
    EXPECT_EQ(enemy.HitPropertyIcon({1.0f, 1.0f + r}), -1);
    EXPECT_TRUE(enemy.HitsPropertyRing({1.0f, 1.0f + r}));
    EXPECT_FALSE(enemy.HitsPropertyRing({1.0f, 2.3f}));
}

TEST_F(PatternEditingTest, Helpers) {
    EXPECT_TRUE(IsInsidePatternArea({-25.0f, 25.0f}));
    EXPECT_FALSE(IsInsidePatternArea({0.0f, -25.001f}));
    EXPECT_EQ(ClampPointToRect({-1.0f, -2.0f}, {1.0f, 2.0f}, {5.0f, -5.0f}), Vector2(1.0f, -2.0f));
    EXPECT_NEAR(SignedAngle2D({1.0f, 0.0f}, {0.0f, 1.0f}), 1.5707963f, 1e-6f);
    EXPECT_NEAR(SignedAngle2D({1.0f, 0.0f}, {0.0f, -1.0f}), -1.5707963f, 1e-6f);
    // A dot product rounded past 1 still gives an angle.
    const Vector2 a = Vector2(0.6f, 0.8f).Normalized();
    EXPECT_FALSE(std::isnan(SignedAngle2D(a, a)));
}

}  // namespace
