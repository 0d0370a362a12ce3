// How many marching arrows a row holds.
#include <gtest/gtest.h>

#include <limits>

#include "world/MarchingArrows.h"

namespace {

TEST(MarchingArrowsTest, OneArrowPerSpacingWithinBounds) {
    // Scale 1.25 and size 0.7: a spacing of (1 + 0.2) x 1 = 1.2.
    EXPECT_EQ(MarchingArrowCount(6.0f, 0.7f, 1.25f), 5);
    EXPECT_EQ(MarchingArrowCount(0.5f, 0.7f, 1.25f), 1);  // closer than one spacing
    EXPECT_EQ(MarchingArrowCount(6.0f, 0.0f, 1.25f), 0);  // no size: nothing to draw
    EXPECT_EQ(MarchingArrowCount(6.0f, -1.0f, 1.25f), 0);
    EXPECT_EQ(MarchingArrowCount(1.0e9f, 0.7f, 1.25f), kMaxMarchingArrows);
    EXPECT_EQ(MarchingArrowCount(std::numeric_limits<float>::infinity(), 0.7f, 1.25f), 0);
}

}  // namespace
