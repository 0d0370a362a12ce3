#include "platform/sys/Clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/Debug.h"

namespace {

TEST(Clock, CountsNanosecondsAndMillisecondTicks) {
    EXPECT_EQ(sys::CounterFrequency(), 1'000'000'000u);
    const uint64_t before = sys::CounterTicks();
    const uint32_t tick = sys::TickCount();
    const uint64_t after = sys::CounterTicks();
    EXPECT_LE(before, after);
    // The tick count is the same clock in milliseconds, truncated to 32 bits.
    const uint32_t low = static_cast<uint32_t>(before / 1'000'000);
    const uint32_t high = static_cast<uint32_t>(after / 1'000'000);
    EXPECT_LE(static_cast<uint32_t>(tick - low), static_cast<uint32_t>(high - low));
}

TEST(Clock, SleepsAtLeastTheTimeAskedAndNotAtAllForNone) {
    const uint64_t before = sys::CounterTicks();
    sys::SleepSeconds(0.003);
    EXPECT_GE(sys::CounterTicks() - before, 3'000'000u);
    sys::SleepSeconds(-1.0);
    sys::SleepSeconds(std::nan(""));
}

TEST(DebugOutput, GoesToStandardErrorOnlyWhenEnabled) {
    const bool wasEnabled = sys::IsDebugOutputEnabled();
    ::testing::internal::CaptureStderr();
    sys::SetDebugOutputEnabled(true);
    sys::DebugOutput("shown\n");
    sys::SetDebugOutputEnabled(false);
    sys::DebugOutput("hidden\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "shown\n");
    sys::SetDebugOutputEnabled(wasEnabled);
}

}  // namespace
