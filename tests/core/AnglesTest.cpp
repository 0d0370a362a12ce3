// Angles and headings on the ground plane.
#include "core/Angles.h"

#include <gtest/gtest.h>

#include "core/MathUtil.h"

namespace {

TEST(AnglesTest, AngleDifferenceTakesTheShortWayRound) {
    EXPECT_NEAR(AngleDifference(0.1f, 6.2f), -0.1831853f, 1e-5f);
    EXPECT_NEAR(AngleDifference(0.0f, kPi), kPi, 1e-6f);
    EXPECT_NEAR(AngleDifference(3.0f, 1.0f), -2.0f, 1e-6f);
    EXPECT_NEAR(AngleDifference(-1.0f, 1.0f), 2.0f, 1e-5f);
    EXPECT_NEAR(AngleDifference(20.0f, 20.0f + 2.0f * kPi), 0.0f, 1e-4f);
}

TEST(AnglesTest, HeadingBetweenIsSignedAndZeroForNearPoints) {
    EXPECT_FLOAT_EQ(HeadingBetween(Vector2(1, 1), Vector2(1.005f, 1)), 0.0f);
    EXPECT_NEAR(HeadingBetween(Vector2(0, 0), Vector2(0, -3)), -kPi / 2.0f, 1e-5f);
    EXPECT_NEAR(HeadingBetween(Vector2(0, 0), Vector2(-3, 0)), kPi, 1e-5f);
    EXPECT_NEAR(HeadingBetween(Vector2(1, 1), Vector2(2, 2)), kPi / 4.0f, 1e-5f);
}

TEST(AnglesTest, SafeAcosClampsItsArgument) {
    EXPECT_DOUBLE_EQ(SafeAcos(1.5), 0.0);
    EXPECT_NEAR(SafeAcos(-7.0), 3.14159265358979, 1e-12);
}

}  // namespace
