// Angles and headings on the ground plane.
#include "core/Angles.h"

#include <bit>
#include <cstdint>
#include <limits>

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

// The heading is the angle to the x axis through the normalised dot product, signed by
// the cross product's z: bit for bit, for ordinary, tiny, huge and infinite directions.
TEST(AnglesTest, HeadingBetweenGivesTheAxisAngleBitForBit) {
    const auto general = [](const Vector2& from, const Vector2& to) {
        const Vector2 d = to - from;
        if (d.Length() < 0.01f) return 0.0f;
        const Vector3 ahead(1.0f, 0.0f, 0.0f);
        const Vector3 direction(d.x, d.y, 0.0f);
        const float angle = AngleBetween(ahead, direction);
        return ahead.Cross(direction).z < 0.0f ? -angle : angle;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f, -0.0f, 0.004f, -0.007f, 0.3f, -1.0f, 2.5f, 7.1e-3f, 1.0e19f, -3.0e38f, inf, -inf};
    for (const float x : values) {
        for (const float y : values) {
            for (const Vector2& from : {Vector2(0.0f, 0.0f), Vector2(1.5f, -2.25f)}) {
                const Vector2 to(from.x + x, from.y + y);
                const float expected = general(from, to);
                const float actual = HeadingBetween(from, to);
                EXPECT_EQ(std::bit_cast<uint32_t>(actual), std::bit_cast<uint32_t>(expected)) << x << " " << y;
            }
        }
    }
}

TEST(AnglesTest, SafeAcosClampsItsArgument) {
    EXPECT_DOUBLE_EQ(SafeAcos(1.5), 0.0);
    EXPECT_NEAR(SafeAcos(-7.0), 3.14159265358979, 1e-12);
}

}  // namespace
