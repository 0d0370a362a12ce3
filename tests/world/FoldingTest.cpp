// Angles and phases folded back into range, also from values no loop of steps would leave.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Angles.h"
#include "core/MathUtil.h"
#include "world/SharedPhase.h"

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(FoldingTest, AnglesFoldOnceWhateverTheirSize) {
    EXPECT_NEAR(AngleDifference(-1.0f, 1.0f), 2.0f, 1e-5f);  // as before: -1 folds to 2 pi - 1
    EXPECT_NEAR(AngleDifference(0.1f + 4.0f * kTwoPi, 6.2f), -0.1831853f, 1e-4f);
    // Infinite and huge angles used to keep the loop going for ever or for minutes.
    EXPECT_TRUE(std::isfinite(AngleDifference(kInfinity, 1.0f)));
    EXPECT_NEAR(AngleDifference(-kInfinity, 1.0f), 1.0f, 1e-6f);  // no number folds to 0
    EXPECT_LE(std::fabs(AngleDifference(1.0e30f, 0.0f)), kPi);
}

TEST(FoldingTest, PhasesFoldIntoZeroToOne) {
    EXPECT_NEAR(FoldPhase(0.9f + 0.15f), 0.05f, 1e-6f);
    EXPECT_FLOAT_EQ(FoldPhase(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(FoldPhase(3.0f), 1.0f);  // whole steps of 1 stop at 1
    EXPECT_FLOAT_EQ(FoldPhase(0.25f), 0.25f);
    EXPECT_FLOAT_EQ(FoldPhase(kInfinity), 0.0f);
    EXPECT_FLOAT_EQ(FoldPhase(std::nanf("")), 0.0f);
    EXPECT_NEAR(FoldPhase(1.0e20f), 0.0f, 1.0f);
}

}  // namespace
