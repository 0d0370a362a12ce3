// Marker circles placed around a circle without covering one another.
#include "core/SpotPlacement.h"

#include <gtest/gtest.h>

#include "core/Geometry.h"
#include "core/MathUtil.h"

namespace {

TEST(SpotPlacementTest, FindFreeSpotAroundKeepsAwayFromListedMarkers) {
    Vector3Array markers;
    float angle = 0.0f;
    const Vector3 centre(10.0f, 10.0f, 2.0f);
    const Vector2 first = FindFreeSpotAround(centre, angle, 2.0f, markers);
    ASSERT_EQ(markers.Count(), 1);
    // At angle 0 the marker sits below the centre, just outside its circle.
    EXPECT_NEAR(markers[0].x, 10.0f, 1e-5f);
    EXPECT_NEAR(markers[0].y, 7.5f, 1e-5f);
    EXPECT_NEAR(first.y, 5.0f, 1e-5f);

    float next = 0.0f;
    FindFreeSpotAround(centre, next, 2.0f, markers);
    ASSERT_EQ(markers.Count(), 2);
    EXPECT_GT(next, 0.0f);
    EXPECT_LT(CircleOverlapArea(markers[0], markers[1]), 0.2f * kPi * 0.25f);
}

TEST(SpotPlacementTest, FindFreeSpotAroundTakesTheLeastCoveredSpotWhenAllAreTaken) {
    Vector3Array markers;
    markers.Append(Vector3(0.0f, 0.0f, 100.0f));  // covers every spot around the centre
    float angle = 0.0f;
    FindFreeSpotAround(Vector3(0.0f, 0.0f, 1.0f), angle, 1.0f, markers);
    EXPECT_EQ(markers.Count(), 2);
    EXPECT_FLOAT_EQ(angle, 0.0f);  // all equal: the first try is kept
}

}  // namespace
