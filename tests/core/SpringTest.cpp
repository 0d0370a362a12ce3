// The damped follower: how far one frame moves, and when it comes to rest.
#include <gtest/gtest.h>

#include "core/MathUtil.h"
#include "core/Spring.h"

namespace {

TEST(SpringTest, OneFrameMovesByTheCappedStep) {
    Spring spring;
    // A frame of 0.1 s is integrated as 0.033 s.
    const Vector3 moved = spring.Step(Vector3(), Vector3(1, 0, 0), 0.1f);
    EXPECT_NEAR(moved.x, 0.033f * 0.033f * 2.5f / 0.1f, 1e-6f);
    EXPECT_FLOAT_EQ(moved.y, 0.0f);
}

TEST(SpringTest, RestsOnTheTargetAndCoastsWithinTheDeadZone) {
    Spring spring;
    EXPECT_EQ(spring.Step(Vector3(2, 2, 2), Vector3(2, 2, 2), 0.02f), Vector3(2, 2, 2));
    EXPECT_EQ(spring.velocity, Vector3());
    spring.velocity = Vector3(1, 0, 0);
    const Vector3 coasted = spring.Step(Vector3(0.005f, 0, 0), Vector3(), 0.02f);
    EXPECT_NEAR(coasted.x, 0.005f + 0.02f, 1e-6f);
    EXPECT_EQ(spring.velocity, Vector3(1, 0, 0));
    // The coarse rest test is the follower's own: the shared tolerance stays as it was.
    EXPECT_EQ(Tolerance, kDefaultTolerance);
}

TEST(SpringTest, ZeroFollowFactorDoesNotDivideByZero) {
    Spring spring;
    spring.Init(2.0f, 0.25f, 0.0f);
    const Vector3 moved = spring.Step(Vector3(), Vector3(1, 0, 0), 0.02f);
    EXPECT_EQ(moved, Vector3());
}

}  // namespace
