// The small vector helpers at hand-worked values.
#include <gtest/gtest.h>

#include <cmath>

#include "core/MathUtil.h"
#include "core/VectorHelpers.h"
#include "platform/sys/Random.h"

namespace {

TEST(VectorHelpersTest, PointOnTheRingInterpolatesNeighbours) {
    Array<Vector3> ring;
    for (int i = 0; i < 8; ++i) ring.Append(Vector3(float(i), 10.0f * float(i), 0.0f));
    EXPECT_EQ(PointOnRing8(ring, 0.0f), Vector3(0.0f, 0.0f, 0.0f));
    const Vector3 half = PointOnRing8(ring, 2.0f * kPi / 16.0f);
    EXPECT_NEAR(half.x, 0.5f, 1e-5f);
    EXPECT_NEAR(half.y, 5.0f, 1e-4f);
    // Past the last point the ring closes back to point 0.
    const Vector3 closing = PointOnRing8(ring, 2.0f * kPi - kPi / 8.0f);
    EXPECT_NEAR(closing.x, 3.5f, 1e-4f);
    Array<Vector3> shortRing;
    EXPECT_EQ(PointOnRing8(shortRing, 1.0f), Vector3());
    shortRing.Append(Vector3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(PointOnRing8(shortRing, 1.0f), Vector3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(PointOnRing8(ring, NAN), Vector3());
}

TEST(VectorHelpersTest, RayMeetsAHeight) {
    const Ray ray(Vector3(0.0f, 0.0f, 10.0f), Vector3(1.0f, 0.0f, -1.0f));
    const Vector3 hit = RayHitHeightPlane(ray, 2.0f);
    EXPECT_NEAR(hit.x, 8.0f, 1e-5f);
    EXPECT_NEAR(hit.z, 2.0f, 1e-5f);
    const Ray level(Vector3(1.0f, 2.0f, 3.0f), Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(RayHitHeightPlane(level, 0.0f), Vector3(1.0f, 2.0f, 3.0f));
}

TEST(VectorHelpersTest, RandomDirections) {
    sys::SRand(5);
    for (int i = 0; i < 50; ++i) EXPECT_NEAR(RandomUnitVector().Length(), 1.0f, 1e-5f);
    // No spread keeps the aim; the same point twice aims at itself instead of dividing by 0.
    const Vector2 aim = RandomAimDirection(Vector2(1.0f, 1.0f), Vector2(1.0f, 4.0f), 0.0f);
    EXPECT_NEAR(aim.x, 1.0f, 1e-5f);
    EXPECT_NEAR(aim.y, 4.0f, 1e-5f);
    EXPECT_EQ(RandomAimDirection(Vector2(2.0f, 2.0f), Vector2(2.0f, 2.0f), 1.0f), Vector2(2.0f, 2.0f));
    for (int i = 0; i < 20; ++i) {
        const Vector2 spread = RandomAimDirection(Vector2(0.0f, 0.0f), Vector2(3.0f, 0.0f), 1.0f);
        EXPECT_NEAR(spread.Length(), 3.0f, 1e-4f);
        EXPECT_LE(std::fabs(std::atan2(spread.y, spread.x)), 0.5f + 1e-5f);
    }
}

}  // namespace
