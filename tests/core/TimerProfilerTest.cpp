#include <gtest/gtest.h>

#include "core/Profiler.h"
#include "core/Timer.h"

namespace {

// A clock the test moves by hand: counter ticks of 1 µs, and a millisecond tick count.
struct FakeClock {
    static inline uint64_t ticks = 0;
    static inline uint64_t frequency = 1000000;
    static inline uint32_t milliseconds = 0;

    static uint64_t Ticks() { return ticks; }
    static uint64_t Frequency() { return frequency; }
    static uint32_t Milliseconds() { return milliseconds; }
    static TimeSource Source() { return TimeSource{&Ticks, &Frequency, &Milliseconds}; }
    static void Advance(double seconds) { ticks += static_cast<uint64_t>(seconds * 1e6 + 0.5); }
    static void Reset() {
        ticks = 5000000;
        frequency = 1000000;
        milliseconds = 0;
    }
};

class FakeClockTest : public ::testing::Test {
protected:
    void SetUp() override { FakeClock::Reset(); }
};

TEST(TimerTest, RealClockDeltasAreOrderedAndNonNegative) {
    for (bool counter : {true, false}) {
        Timer timer(counter);
        EXPECT_EQ(timer.UsesCounter(), counter);
        timer.Start();
        const float first = timer.GetDelta();
        const float second = timer.GetDelta();
        const float elapsed = timer.GetElapsed();
        EXPECT_GE(first, 0.0f);
        EXPECT_GE(second, 0.0f);
        EXPECT_GE(elapsed, first + second - 0.002f);
    }
}

using TimerFakeTest = FakeClockTest;

TEST_F(TimerFakeTest, DeltaMeasuresFromTheStartThenFromTheLastDelta) {
    Timer timer(true, FakeClock::Source());
    timer.Start();
    FakeClock::Advance(0.25);
    EXPECT_FLOAT_EQ(timer.GetDelta(), 0.25f);
    EXPECT_FLOAT_EQ(timer.GetDelta(), 0.0f);
    FakeClock::Advance(0.5);
    EXPECT_FLOAT_EQ(timer.GetElapsed(), 0.75f);
    EXPECT_FLOAT_EQ(timer.GetDelta(), 0.5f);
}

TEST_F(TimerFakeTest, MillisecondClockThatWrapsGivesASmallPositiveDelta) {
    FakeClock::frequency = 0;  // no counter: the timer falls back to the tick count
    FakeClock::milliseconds = 0xFFFFFFFFu - 4;
    Timer timer(true, FakeClock::Source());
    EXPECT_FALSE(timer.UsesCounter());
    timer.Start();
    FakeClock::milliseconds += 15;  // wraps past zero
    EXPECT_FLOAT_EQ(timer.GetDelta(), 0.015f);
}

TEST_F(TimerFakeTest, StoppedTimeDoesNotCount) {
    Timer timer(true, FakeClock::Source());
    timer.Start();
    FakeClock::Advance(1.0);
    timer.Stop();
    FakeClock::Advance(3.0);
    EXPECT_FLOAT_EQ(timer.GetElapsed(), 1.0f);
    timer.Start();
    FakeClock::Advance(0.5);
    EXPECT_FLOAT_EQ(timer.GetElapsed(), 1.5f);
    EXPECT_FLOAT_EQ(timer.GetDelta(), 1.5f);
}

using ProfilerTest = FakeClockTest;

TEST_F(ProfilerTest, PeriodEndsOnTheFrameThatReachesOneSecond) {
    Profiler profiler(FakeClock::Source());
    for (int i = 0; i < 3; ++i) {
        FakeClock::Advance(0.3);
        profiler.NextFrame();
    }
    EXPECT_EQ(profiler.FramesOfLastPeriod(), 0);
    EXPECT_EQ(profiler.FramesPerSecond(), 0.0);
    FakeClock::Advance(0.1);
    profiler.NextFrame();
    EXPECT_EQ(profiler.FramesOfLastPeriod(), 4);
    EXPECT_NEAR(profiler.TimeOfLastPeriod(), 1.0, 1e-9);
    EXPECT_NEAR(profiler.FramesPerSecond(), 4.0, 1e-9);
    EXPECT_EQ(profiler.FramesInPeriod(), 0);
}

TEST_F(ProfilerTest, ALongFrameEndsThePeriodAtOnce) {
    Profiler profiler(FakeClock::Source());
    FakeClock::Advance(2.5);
    profiler.NextFrame();
    EXPECT_EQ(profiler.FramesOfLastPeriod(), 1);
    EXPECT_NEAR(profiler.FrameTimeMs(), 2500.0, 1e-6);
    EXPECT_NEAR(profiler.FramesPerSecond(), 0.4, 1e-9);
}

TEST_F(ProfilerTest, ZonesReportPerFrameFiguresOnlyAfterARollOver) {
    Profiler profiler(FakeClock::Source());
    ProfilerZone* outer = profiler.Zone("Outer");
    ProfilerZone* inner = profiler.Zone("Inner");
    EXPECT_EQ(profiler.Zone("Outer"), outer);
    for (int frame = 0; frame < 2; ++frame) {
        ProfileScope o(profiler, outer);
        FakeClock::Advance(0.1);
        {
            ProfileScope i(profiler, inner);
            FakeClock::Advance(0.2);
        }
        FakeClock::Advance(0.2);
    }
    EXPECT_EQ(profiler.Row(*outer).timeMs, 0.0);  // nothing to show before a roll-over
    EXPECT_EQ(profiler.Row(*outer).entries, 0.0);
    profiler.NextFrame();
    const ProfilerRow row = profiler.Row(*outer);
    EXPECT_NEAR(row.timeMs, 1000.0, 1e-6);  // 1.0 s over the one frame of the period
    EXPECT_NEAR(row.childMs, 400.0, 1e-6);
    EXPECT_NEAR(row.selfMs, 600.0, 1e-6);
    EXPECT_EQ(row.entries, 2.0);
    EXPECT_EQ(outer->total, 0.0);
}

TEST_F(ProfilerTest, SortModesOrderByTheirKey) {
    Profiler profiler(FakeClock::Source());
    ProfilerZone* a = profiler.Zone("a");
    ProfilerZone* b = profiler.Zone("b");
    ProfilerZone* c = profiler.Zone("c");
    a->lastTotal = 3, a->lastChildren = 3, a->lastEntries = 1;  // all its time in children
    b->lastTotal = 2, b->lastChildren = 0, b->lastEntries = 5;
    c->lastTotal = 1, c->lastChildren = 0.5, c->lastEntries = 5;
    Array<ProfilerZone*> sorted;
    auto names = [&](int key) {
        profiler.SortZones(sorted, key);
        std::string order;
        for (ProfilerZone* zone : sorted) order += zone->name.CStr();
        return order;
    };
    EXPECT_EQ(names(Profiler::kByTotal), "abc");
    EXPECT_EQ(names(Profiler::kByChildren), "acb");
    EXPECT_EQ(names(Profiler::kBySelf), "bca");
    EXPECT_EQ(names(Profiler::kByEntries), "bca");  // equal keys keep their order
    profiler.SetSortMode(Profiler::kBySelf);
    profiler.SortZones(sorted);
    EXPECT_EQ(sorted[2], a);
}

TEST_F(ProfilerTest, NoCounterFrequencyMeasuresNothingAndNeverDivides) {
    FakeClock::frequency = 0;
    Profiler profiler(FakeClock::Source());
    FakeClock::Advance(5);
    profiler.NextFrame();
    EXPECT_EQ(profiler.FrameTime(), 0.0);
    EXPECT_EQ(profiler.FramesPerSecond(), 0.0);
}

}  // namespace
