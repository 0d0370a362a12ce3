// Match lines, the lines a pattern builds for the matcher, and the highlight pulse and
// walk-through of a pattern on show.
#include <gtest/gtest.h>

#include "units/MatchLine.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "units/PatternObject.h"

#include "support/PatternFixture.h"

namespace {

TEST(MatchLineTest, DirectionOfShortLinesIsPlusX) {
    MatchLine line;
    line.Set(nullptr, {3.0f, 4.0f}, {3.0f, 4.0f});
    EXPECT_EQ(line.direction, Vector2(1.0f, 0.0f));
    line.Set(nullptr, {3.0f, 4.0f}, {3.0f, 4.0009f});
    EXPECT_EQ(line.direction, Vector2(1.0f, 0.0f));
    line.Set(nullptr, {3.0f, 4.0f}, {3.0f, 1.0f});
    EXPECT_EQ(line.direction, Vector2(0.0f, -1.0f));
}

TEST(MatchLineTest, FootParameterAndSide) {
    MatchLine line;
    line.Set(nullptr, {2.0f, 1.0f}, {6.0f, 1.0f});
    float t = 0.0f;
    EXPECT_EQ(line.ClosestPoint({3.0f, 5.0f}, &t), Vector2(3.0f, 1.0f));
    EXPECT_FLOAT_EQ(t, 0.25f);
    EXPECT_FLOAT_EQ(line.ClosestParam({10.0f, -2.0f}), 2.0f);
    EXPECT_FLOAT_EQ(line.ClosestParam({0.0f, 0.0f}), -0.5f);
    EXPECT_EQ(line.Side({3.0f, 5.0f}), 1);  // left of the line
    EXPECT_EQ(line.Side({3.0f, -5.0f}), -1);
    EXPECT_EQ(line.Side({9.0f, 1.0f}), 1);  // on the line: every point has a side
    // A line whose ends coincide: the foot is its start and the side is left.
    line.Set(nullptr, {2.0f, 1.0f}, {2.0f, 1.0f});
    EXPECT_EQ(line.ClosestPoint({7.0f, 7.0f}, &t), Vector2(2.0f, 1.0f));
    EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(line.Side({2.0f, -7.0f}), 1);
}

class MatchLinesTest : public PatternFixture {
protected:
    PatternObject* Add(int32_t kind, Vector2 at, Vector2 facing) {
        PatternObject* object = gArena->NewPatternObject();
        object->kind = kind;
        object->position = at;
        object->facing = facing;
        pattern().AddObject(object);
        return object;
    }
};

TEST_F(MatchLinesTest, PatternLineToItselfIsAFacingLine) {
    PatternObject* enemy = Add(kPatternEnemy, {4.0f, 4.0f}, {4.0f, 8.0f});
    PatternLine line;
    line.Set(enemy, enemy);
    EXPECT_TRUE(line.IsFacingLine());
    EXPECT_EQ(line.start, Vector2(4.0f, 4.0f));
    ExpectNear(line.end, {4.0f, 7.0f});
    EXPECT_EQ(line.owner, enemy);
    // A kind without facing looks along +x.
    PatternObject* tree = Add(kPatternTree, {-4.0f, 0.0f}, {-4.0f, 9.0f});
    line.Set(tree, tree);
    ExpectNear(line.end, {-1.0f, 0.0f});
}

TEST_F(MatchLinesTest, OwnObjectAloneBuildsItsFacingLine) {
    pattern().BuildLines();
    ASSERT_EQ(pattern().lines.Count(), 1);
    const PatternLine& line = pattern().lines[0];
    EXPECT_EQ(line.from, pattern().ownObject);
    EXPECT_EQ(line.to, pattern().ownObject);
    ExpectNear(line.end, {3.0f, 0.0f});
}

TEST_F(MatchLinesTest, PairLinesThenFacingLines) {
    PatternObject* own = pattern().ownObject;
    PatternObject* a = Add(kPatternEnemy, {10.0f, 0.0f}, {8.0f, 0.0f});  // handle set
    PatternObject* tree = Add(kPatternTree, {0.0f, 10.0f}, {5.0f, 10.0f});
    PatternObject* b = Add(kPatternEnemy, {-10.0f, 0.0f}, {-9.0f, 0.0f});  // handle in the icon
    pattern().BuildLines();
    ASSERT_EQ(pattern().lines.Count(), 7);
    const PatternObject* expected[7][2] = {{own, a}, {own, tree}, {own, b}, {a, tree}, {a, b}, {tree, b}, {a, a}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pattern().lines[i].from, expected[i][0]) << i;
        EXPECT_EQ(pattern().lines[i].to, expected[i][1]) << i;
        EXPECT_EQ(pattern().lines[i].link, nullptr) << i;
    }
    EXPECT_EQ(pattern().lines[3].start, Vector2(10.0f, 0.0f));
    EXPECT_EQ(pattern().lines[3].end, Vector2(0.0f, 10.0f));

    b->facing = Vector2(-10.0f, 5.0f);
    pattern().BuildLines();
    EXPECT_EQ(pattern().lines.Count(), 8);
    // The storage is kept from build to build.
    const PatternLine* storage = pattern().lines.Data();
    pattern().BuildLines();
    EXPECT_EQ(pattern().lines.Data(), storage);
}

TEST_F(MatchLinesTest, MatchedWorldObjectsLearnTheirPatternObjects) {
    PatternObject* enemy = Add(kPatternEnemy, {10.0f, 0.0f}, {10.0f, 0.0f});
    Add(kPatternTree, {0.0f, 10.0f}, {0.0f, 10.0f});
    WorldObject* rock = AddKind(kKindRock, 30.0f, 30.0f);
    rock->matchIndex = 4;
    enemy->linkedObject = rock;
    pattern().LinkObjectsToWorld();
    EXPECT_EQ(rock->matchedPatternObject, enemy);
    EXPECT_EQ(rock->matchIndex, -1);
}

TEST(PatternPulseTest, PhaseWrapsEveryHalfSecond) {
    SetPatternPulsePhase(0.0f);
    SetPatternPulseTime(0.0f);
    for (int i = 0; i < 6; ++i) {
        AdvancePatternPulse(0.1f);
    }
    EXPECT_NEAR(PatternPulsePhase(), 0.2f, 1e-5f);
    EXPECT_NEAR(PatternPulseTime(), 0.6f, 1e-5f);
    AdvancePatternPulse(1e12f);  // a frame far too long still ends
    EXPECT_GE(PatternPulsePhase(), 0.0f);
    EXPECT_LT(PatternPulsePhase(), 1.0f);
    ResetPatternPulse();
    EXPECT_EQ(PatternPulseTime(), 0.0f);
    int unit = 0;
    SetPatternPulseUnit(reinterpret_cast<const Vorn*>(&unit));
    SetPatternPulseTime(2.0f);
    ResetPatternPulseFor(nullptr);
    EXPECT_EQ(PatternPulseTime(), 2.0f);
    ResetPatternPulseFor(reinterpret_cast<const Vorn*>(&unit));
    EXPECT_EQ(PatternPulseTime(), 0.0f);
    SetPatternPulseUnit(nullptr);
}

TEST_F(MatchLinesTest, WalkThroughSpendsTimeAlongThePattern) {
    PathPoint* second = pattern().AddPathPoint();
    second->position = Vector2(8.0f, 0.0f);
    PatternWalkStep step;
    ASSERT_TRUE(pattern().FindWalkStep(0.5f, step));
    EXPECT_EQ(step.pathPoint, 0);
    EXPECT_EQ(step.action, -1);
    EXPECT_FLOAT_EQ(step.fraction, 0.5f);
    EXPECT_TRUE(pattern().FindWalkStep(1.0f, step));
    EXPECT_FALSE(pattern().FindWalkStep(1.01f, step));

    // An action 5 away from the second point takes half a second there.
    Action* fire = second->AddAction();
    fire->kind = kActionFire1;
    fire->point = Vector2(8.0f, 5.0f);
    ASSERT_TRUE(pattern().FindWalkStep(1.25f, step));
    EXPECT_EQ(step.pathPoint, 1);
    EXPECT_EQ(step.action, 0);
    EXPECT_FLOAT_EQ(step.fraction, 0.5f);
    EXPECT_FALSE(pattern().FindWalkStep(1.6f, step));
}

}  // namespace
