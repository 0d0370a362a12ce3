// The loading screen's status text and its animation step.
#include <gtest/gtest.h>

#include "app/LoadingScreen.h"

namespace {

uint64_t gTicks = 0;
uint64_t Ticks() { return gTicks; }
uint64_t Frequency() { return 1000; }
uint32_t TickCount() { return uint32_t(gTicks); }

TEST(LoadingScreenTest, ALongPauseAdvancesTheAnimationByHalfASecondAtMost) {
    LoadingScreen screen(TimeSource{Ticks, Frequency, TickCount});
    const String first = "Loading images";
    screen.Show(&first);
    gTicks += 3000;  // a step of three seconds
    screen.Show();
    EXPECT_FLOAT_EQ(screen.LastStep(), LoadingScreen::kMaxStep);
    EXPECT_EQ(screen.StatusText(), "Loading images");  // no text keeps the last one
    gTicks += 200;
    screen.Show();
    EXPECT_NEAR(screen.LastStep(), 0.2f, 1e-5f);
}

}  // namespace
