// Pattern placement: points carried from the pattern into the world along and across the
// nearest line between matched objects.
//
// The unit U is red, on flat ground, at (80, 80) facing +x unless a test says otherwise.
#include <cmath>

#include <gtest/gtest.h>

#include "core/MathUtil.h"
#include "support/MatcherWorld.h"
#include "world/Terrain.h"

namespace {

class PatternPlacementTest : public MatcherWorld {
protected:
    void SetUp() override {
        MatcherWorld::SetUp();
        unit = AddVorn(&red, 80.0f, 80.0f, 0.0f);
    }

    // The unit at (x, y) facing h, its grid entry refreshed.
    void MoveUnit(float x, float y, float h) {
        unit->heading = h;
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena->RebuildGrid();
    }

    Vector3 Map(Pattern& pattern, float x, float y, const PatternLine** line = nullptr) {
        return matcher->MapPoint(*unit, pattern, Vector2(x, y), line);
    }

    Vorn* unit = nullptr;
};

TEST_F(PatternPlacementTest, PointsKeepTheirSideOfTheLineAndTurnWithTheWorld) {
    // Own object at the origin, an enemy at (10, 0), a path point at (5, 2): on the line
    // own -> enemy t = 0.5, 2 to its left. World: the enemy at (90, 80): base (85, 80),
    // 2 to the left of the world line: (85, 82).
    Vorn* enemy = AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    PathPoint* point = AddPathPoint(pattern, 5.0f, 2.0f);
    matcher->Evaluate(*unit);
    ASSERT_EQ(unit->currentPattern, &pattern);
    ExpectAt(point->worldPosition, 85.0f, 82.0f);
    // The start point is where the unit stands, facing the way it faces.
    ExpectAt(pattern.pathPoints[0]->worldPosition, 80.0f, 80.0f);
    ExpectAt(pattern.pathPoints[0]->worldFacing, 81.0f, 80.0f);

    // The same situation turned by a: the point turns with it, to U + R(a) (5, 2).
    for (float a : {0.7f, 2.5f, -1.9f}) {
        MoveUnit(80.0f, 80.0f, a);
        enemy->PlaceAt(Vector3(80.0f + 10.0f * std::cos(a), 80.0f + 10.0f * std::sin(a), 0.0f));
        arena->RebuildGrid();
        matcher->Evaluate(*unit);
        ExpectAt(point->worldPosition, 80.0f + 5.0f * std::cos(a) - 2.0f * std::sin(a),
                 80.0f + 5.0f * std::sin(a) + 2.0f * std::cos(a));
    }
}

TEST_F(PatternPlacementTest, PointsOnBeforeAndBeyondTheLine) {
    // The enemy drawn at (10, 0) stands 18 ahead in the world. On the line at t = 0.5:
    // (89, 80). Beyond the far end by 4, 1 to the left: 4 beyond the world enemy,
    // (102, 81). Before the near end by 3, 1 to the right: (77, 79).
    AddVorn(&blue, 98.0f, 80.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    matcher->Evaluate(*unit);
    ExpectAt(Map(pattern, 5.0f, 0.0f), 89.0f, 80.0f);
    ExpectAt(Map(pattern, 14.0f, 1.0f), 102.0f, 81.0f);
    ExpectAt(Map(pattern, -3.0f, -1.0f), 77.0f, 79.0f);
    ExpectAt(Map(pattern, 10.0f, 0.0f), 98.0f, 80.0f);
}

TEST_F(PatternPlacementTest, ReversedWorldOrderExchangesTheLineEnds) {
    // Pattern objects: own, enemy (10, 0), friend (0, 10): the pattern's pair line runs
    // enemy -> friend. The world gathers the friend (column 15) before the enemy (17):
    // its line runs F -> E, so the pattern line is set again as friend -> enemy.
    // (4, 4): on the friend -> enemy line t = 0.5, foot (5, 5), sqrt 2 away on its right
    // (score 2 + 2 against 57 for the own lines): d = -1.414. The pair is off the unit
    // (R1 = -1 != 0); the origin lies right of friend -> enemy (r = -1) and the unit right
    // of F -> E (-1): r is not minus that, d stays. World (85, 85) + (0.707, 0.707) x
    // -1.414 = (84, 84).
    AddVorn(&red, 80.0f, 90.0f, 0.0f);
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* enemyObject = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    PatternObject* friendObject = AddObject(pattern, kPatternFriend, 0.0f, 10.0f);
    PathPoint* point = AddPathPoint(pattern, 4.0f, 4.0f);
    matcher->Evaluate(*unit);
    ExpectAt(point->worldPosition, 84.0f, 84.0f);
    const PatternLine* line = nullptr;
    Map(pattern, 4.0f, 4.0f, &line);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->from, friendObject);
    EXPECT_EQ(line->to, enemyObject);
    // A point on its side of the pair, beyond it from the unit: (6, 6) -> (86, 86).
    ExpectAt(Map(pattern, 6.0f, 6.0f), 86.0f, 86.0f);
}

TEST_F(PatternPlacementTest, APairSeenFromBehindMirrorsThePointToTheUnitsView) {
    // Pattern: two enemies at (10, -5) and (10, 5), a point at (12, 0) beyond the pair:
    // on the line e1 -> e2 (+y) it lies right (-1), d = -2; the unit lies left (+1).
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, -5.0f);
    AddObject(pattern, kPatternEnemy, 10.0f, 5.0f);
    Vorn* first = AddVorn(&blue, 90.0f, 75.0f, 0.0f);
    Vorn* second = AddVorn(&blue, 90.0f, 85.0f, 0.0f);
    // World as drawn: the unit also lies left of E1 -> E2: no second negation, the
    // point lands 2 beyond the pair: (92, 80).
    matcher->Evaluate(*unit);
    ExpectAt(Map(pattern, 12.0f, 0.0f), 92.0f, 80.0f);
    // The pair behind the unit at (70, 75) and (70, 85): the unit now lies right of
    // E1 -> E2 (-1), minus that is the pattern's +1, so d turns again: the point lands
    // beyond the pair as the unit sees it, (68, 80), not between at (72, 80).
    first->PlaceAt(Vector3(70.0f, 75.0f, 0.0f));
    second->PlaceAt(Vector3(70.0f, 85.0f, 0.0f));
    arena->RebuildGrid();
    matcher->Evaluate(*unit);
    ExpectAt(Map(pattern, 12.0f, 0.0f), 68.0f, 80.0f);
}

TEST_F(PatternPlacementTest, APatternWithoutObjectsFollowsTheUnit) {
    // Only the own object: its facing line (0, 0) -> (3, 0) links to the unit's own
    // facing line (80, 80) -> 3 ahead. (5, 2): t = 5/3, 2 to the left: (85, 82), and
    // turned with the unit's heading.
    Pattern& pattern = NewPattern(unit, 0);
    PathPoint* point = AddPathPoint(pattern, 5.0f, 2.0f);
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);  // unmatched: no line of its own
    matcher->Evaluate(*unit);
    ASSERT_EQ(matcher->WorldLines().Count(), 1);
    EXPECT_TRUE(matcher->WorldLines()[0].IsFacingLine());
    ExpectAt(point->worldPosition, 85.0f, 82.0f);
    MoveUnit(40.0f, 50.0f, kPi / 2.0f);
    matcher->Evaluate(*unit);
    ExpectAt(point->worldPosition, 38.0f, 55.0f);
}

TEST_F(PatternPlacementTest, UnlinkedPatternsMapThroughThePatternFrame) {
    // The tree is not matched, so no pattern line links: (-5, 1) goes through the unit's
    // frame (heading pi/2): (80 - 1, 80 - 5).
    MoveUnit(80.0f, 80.0f, kPi / 2.0f);
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternTree, 10.0f, 0.0f);
    PathPoint* point = AddPathPoint(pattern, -5.0f, 1.0f);
    matcher->Evaluate(*unit);
    const PatternLine* line = nullptr;
    Map(pattern, -5.0f, 1.0f, &line);
    EXPECT_EQ(line, nullptr);
    ExpectAt(point->worldPosition, 79.0f, 75.0f);
}

TEST_F(PatternPlacementTest, ObjectsOnOneSpotStillGiveFinitePoints) {
    // Two pattern enemies on one spot (10, 0): their line has no length. A point there
    // maps with t = 0 onto the world partner of the line's first end; one 1 away lands
    // 1 from it.
    Vorn* lower = AddVorn(&blue, 90.0f, 78.0f, 0.0f);
    Vorn* upper = AddVorn(&blue, 90.0f, 82.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    matcher->Evaluate(*unit);
    const PatternLine* line = nullptr;
    const Vector3 on = Map(pattern, 10.0f, 0.0f, &line);
    ASSERT_NE(line, nullptr);
    ASSERT_FALSE(line->IsFacingLine());
    const WorldObject* partner = line->from->linkedObject;
    ASSERT_TRUE(partner == lower || partner == upper);
    ExpectAt(on, partner->position.x, partner->position.y);
    const Vector3 off = Map(pattern, 10.0f, 1.0f);
    ASSERT_TRUE(std::isfinite(off.x) && std::isfinite(off.y));
    EXPECT_NEAR(Vector2(off.x - partner->position.x, off.y - partner->position.y).Length(), 1.0f, 0.001f);

    // Two world enemies on one spot (90, 80), both facing +y, matched to enemies drawn at
    // (10, -2) and (10, 2): the world line has no length and takes the first object's
    // heading. (11, 0) lies 1 beyond the pair: whichever way the line runs, it lands at
    // (91, 80).
    lower->heading = kPi / 2.0f;
    upper->heading = kPi / 2.0f;
    lower->PlaceAt(Vector3(90.0f, 80.0f, 0.0f));
    upper->PlaceAt(Vector3(90.0f, 80.0f, 0.0f));
    arena->RebuildGrid();
    Pattern& apart = NewPattern(unit, 0);
    AddObject(apart, kPatternEnemy, 10.0f, -2.0f);
    AddObject(apart, kPatternEnemy, 10.0f, 2.0f);
    matcher->Evaluate(*unit);
    ExpectAt(Map(apart, 10.0f, 0.0f), 90.0f, 80.0f);
    ExpectAt(Map(apart, 11.0f, 0.0f), 91.0f, 80.0f);
}

TEST_F(PatternPlacementTest, PointsLandOnTheGroundInsideTheArena) {
    // The unit at (3, 80); the enemy at (157, 80) is 6 behind it across the edge. The
    // pattern has it at (-6, 0); (-4, 1): on the line own -> enemy (-x) t = 2/3, 1 to the
    // right: (3 - 4, 81) = (-1, 81), folded to (159, 81) and set on the terrain there.
    MoveUnit(3.0f, 80.0f, 0.0f);
    AddVorn(&blue, 157.0f, 80.0f, 0.0f);
    for (int j = 7; j <= 9; ++j) {
        arena->GetTerrain().CellAt(15, j).height = 3.0f;
        arena->GetTerrain().CellAt(0, j).height = 5.0f;
    }
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, -6.0f, 0.0f);
    PathPoint* point = AddPathPoint(pattern, -4.0f, 1.0f);
    matcher->Evaluate(*unit);
    ExpectAt(point->worldPosition, 159.0f, 81.0f);
    EXPECT_FLOAT_EQ(point->worldPosition.z, arena->GetGroundHeight(159.0f, 81.0f));
    EXPECT_GT(point->worldPosition.z, 3.0f);
}

TEST_F(PatternPlacementTest, ActionTargetsAndFacingHandlesArePlacedToo) {
    // A turn toward the enemy and a facing handle 3 to the left of the path point.
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    PathPoint* point = AddPathPoint(pattern, 5.0f, -2.0f);
    point->facing = Vector2(5.0f, 1.0f);
    Action* turn = AddAction(point, kActionTurnToFace, 10.0f, 0.0f);
    Action* first = AddAction(pattern.pathPoints[0], kActionFire1, 5.0f, 0.0f);
    matcher->Evaluate(*unit);
    ExpectAt(point->worldPosition, 85.0f, 78.0f);
    ExpectAt(point->worldFacing, 85.0f, 81.0f);
    ExpectAt(turn->worldPoint, 90.0f, 80.0f);
    ExpectAt(first->worldPoint, 85.0f, 80.0f);
}

}  // namespace
