// The circles a pattern diagram's path keeps out of, and the stretches of a path segment
// left between them.
#include <gtest/gtest.h>

#include <vector>

#include "support/PatternFixture.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/PatternKeepOut.h"
#include "units/PatternObject.h"

namespace {

class PatternKeepOutTest : public PatternFixture {
protected:
    // An enemy turned by its handle, a health field, a map condition and a second path
    // point straight ahead of the unit, past the enemy.
    void SetUp() override {
        PatternFixture::SetUp();
        pattern().objects[0]->facing = {0, 3};  // the unit looks to its left
        enemy_ = Object(kPatternEnemy, {10, 0});
        enemy_->facing = {10, 8};
        field_ = Object(kPatternHealthField, {0, 10});
        MapConditional* condition = gArena->NewMapConditional();
        condition->position = {-10, -10};
        pattern().AddMapConditional(condition);
        pattern().AddPathPoint()->SetPosition({20, 0});
    }
    PatternObject* Object(int32_t kind, Vector2 at) {
        PatternObject* object = gArena->NewPatternObject();
        object->kind = kind;
        object->position = object->facing = at;
        pattern().AddObject(object);
        return object;
    }
    PatternObject* enemy_ = nullptr;
    PatternObject* field_ = nullptr;
};

void ExpectCircle(const KeepOutCircle& circle, Vector2 centre, float radius) {
    EXPECT_EQ(circle.centre, centre);
    EXPECT_FLOAT_EQ(circle.radius, radius);
}

TEST_F(PatternKeepOutTest, HandlesConditionsObjectsByLayerThenPathPointsWithIconsGrowingWithTheZoom) {
    const PatternObject& own = *pattern().objects[0];
    PatternKeepOut keepOut;
    keepOut.Build(pattern(), 64.0f);
    const std::vector<KeepOutCircle>& circles = keepOut.Circles();
    ASSERT_EQ(circles.size(), 8u);
    ExpectCircle(circles[0], {0, 3}, 1.4f);  // the handles
    ExpectCircle(circles[1], {10, 8}, 1.4f);
    ExpectCircle(circles[2], {-10, -10}, 2.8f);
    // The field lies under the unit and the enemy though added after them.
    ExpectCircle(circles[3], {0, 10}, field_->Radius());
    ExpectCircle(circles[4], {0, 0}, own.Radius());
    ExpectCircle(circles[5], {10, 0}, enemy_->Radius());
    ExpectCircle(circles[6], {0, 0}, 2.8f);
    ExpectCircle(circles[7], {20, 0}, 2.8f);
}

TEST_F(PatternKeepOutTest, APathSegmentIsCutWhereItCrossesCircles) {
    PatternKeepOut keepOut;
    keepOut.Build(pattern(), 32.0f);
    const float start = 1.4f / 20.0f;  // the unit's own icon and its path point
    const float enemy = enemy_->Radius() / 20.0f;
    const std::vector<SegmentStretch> stretches = keepOut.Outside({0, 0}, {20, 0});
    ASSERT_EQ(stretches.size(), 2u);
    EXPECT_NEAR(stretches[0].from, start, 1e-5f);
    EXPECT_NEAR(stretches[0].to, 0.5f - enemy, 1e-5f);
    EXPECT_NEAR(stretches[1].from, 0.5f + enemy, 1e-5f);
    EXPECT_NEAR(stretches[1].to, 1.0f - 1.4f / 20.0f, 1e-5f);
    // A segment clear of every circle is drawn whole; one inside a circle not at all.
    const std::vector<SegmentStretch> clear = keepOut.Outside({-20, 20}, {20, 20});
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_FLOAT_EQ(clear[0].from, 0.0f);
    EXPECT_FLOAT_EQ(clear[0].to, 1.0f);
    EXPECT_TRUE(keepOut.Outside({19.5f, 0}, {20.5f, 0}).empty());
}

}  // namespace
