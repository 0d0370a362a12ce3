#include "platform/gfx/PresentPacer.h"

#include <gtest/gtest.h>

namespace {

constexpr double kRefresh = 1.0 / 60.0;
constexpr double kQuick = 0.01;

// Presents `count` frames that each take `work` seconds; every sleep wakes `overrun` late.
// Gives the time the last frame ended.
double PlayFrames(gfx::PresentPacer& pacer, double& now, int count, double work, double overrun) {
    for (int i = 0; i < count; ++i) {
        now += work;
        const double rest = pacer.AfterPresent(now);
        if (rest > 0.0) now += rest + overrun;
    }
    return now;
}

TEST(PresentPacerTest, ADisplayThatLetsQuickPresentsThroughIsPacedByTheRestOfARefresh) {
    gfx::PresentPacer pacer(kRefresh, true);
    double now = 100.0;
    EXPECT_EQ(pacer.AfterPresent(now), 0.0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(pacer.AfterPresent(now += kQuick), 0.0);
    // A present a whole refresh later is what a pacing display does: the count starts again.
    EXPECT_EQ(pacer.AfterPresent(now += kRefresh), 0.0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(pacer.AfterPresent(now += kQuick), 0.0);
    EXPECT_FALSE(pacer.PacesItself());
    EXPECT_NEAR(pacer.AfterPresent(now += kQuick), kRefresh - kQuick, 1e-9);
    EXPECT_TRUE(pacer.PacesItself());
    // Once found out, a slow frame does not make the display trusted again.
    now += kRefresh - kQuick;
    EXPECT_EQ(pacer.AfterPresent(now += 0.05), 0.0);
    EXPECT_NEAR(pacer.AfterPresent(now += kQuick), kRefresh - kQuick, 1e-9);
}

TEST(PresentPacerTest, ADisplayThatCannotPaceIsPacedFromTheFirstPresentAndNoPeriodNeverWaits) {
    gfx::PresentPacer unpaced(kRefresh, false);
    EXPECT_EQ(unpaced.AfterPresent(5.0), 0.0);
    EXPECT_NEAR(unpaced.AfterPresent(5.0 + kQuick), kRefresh - kQuick, 1e-9);
    gfx::PresentPacer unlimited(0.0, false);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(unlimited.AfterPresent(0.001 * i), 0.0);
    EXPECT_FALSE(unlimited.PacesItself());
}

// Sleeps wake a little late; paced frames still come a refresh apart on average, so a
// frame meter shows the display's rate. A late frame is not followed by a rush of quick
// ones making up for it.
TEST(PresentPacerTest, PacedFramesKeepTheRefreshRateWhenSleepsOverrunAndAfterALateFrame) {
    gfx::PresentPacer pacer(kRefresh, false);
    double now = 50.0;
    const double start = PlayFrames(pacer, now, 1, 0.005, 0.0);
    const double end = PlayFrames(pacer, now, 600, 0.005, 0.0002);
    EXPECT_NEAR((end - start) / 600.0, kRefresh, 0.0002 / 60.0);
    now += 0.1;  // one frame far too long
    EXPECT_EQ(pacer.AfterPresent(now), 0.0);
    EXPECT_NEAR(pacer.AfterPresent(now += 0.005), kRefresh - 0.005, 1e-9);
}

}  // namespace
