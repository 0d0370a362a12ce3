#include "platform/gfx/PresentPacer.h"

#include <gtest/gtest.h>

namespace {

constexpr double kRefresh = 1.0 / 60.0;
constexpr double kQuick = 0.01;

TEST(PresentPacerTest, ADisplayThatLetsQuickPresentsThroughIsPacedByTheRestOfARefresh) {
    gfx::PresentPacer pacer(kRefresh, true);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(pacer.AfterPresent(kQuick), 0.0);
    // A present a whole refresh later is what a pacing display does: the count starts again.
    EXPECT_EQ(pacer.AfterPresent(kRefresh), 0.0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(pacer.AfterPresent(kQuick), 0.0);
    EXPECT_FALSE(pacer.PacesItself());
    EXPECT_NEAR(pacer.AfterPresent(kQuick), kRefresh - kQuick, 1e-9);
    EXPECT_TRUE(pacer.PacesItself());
    // Once found out, a slow frame does not make the display trusted again.
    EXPECT_EQ(pacer.AfterPresent(0.05), 0.0);
    EXPECT_NEAR(pacer.AfterPresent(kQuick), kRefresh - kQuick, 1e-9);
}

TEST(PresentPacerTest, ADisplayThatCannotPaceIsPacedFromTheFirstPresentAndNoPeriodNeverWaits) {
    gfx::PresentPacer unpaced(kRefresh, false);
    EXPECT_NEAR(unpaced.AfterPresent(kQuick), kRefresh - kQuick, 1e-9);
    gfx::PresentPacer unlimited(0.0, false);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(unlimited.AfterPresent(0.001), 0.0);
    EXPECT_FALSE(unlimited.PacesItself());
}

}  // namespace
