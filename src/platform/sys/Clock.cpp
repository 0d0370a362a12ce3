#include "platform/sys/Clock.h"

#include <algorithm>
#include <cerrno>
#include <time.h>

namespace sys {
namespace {

constexpr uint64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr uint64_t kNanosecondsPerMillisecond = 1'000'000;

// The monotonic clock never jumps with the wall clock, so time differences stay valid
// across clock adjustments.
uint64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * kNanosecondsPerSecond + static_cast<uint64_t>(now.tv_nsec);
}

}  // namespace

uint64_t CounterTicks() { return MonotonicNanoseconds(); }

uint64_t CounterFrequency() { return kNanosecondsPerSecond; }

uint32_t TickCount() { return static_cast<uint32_t>(MonotonicNanoseconds() / kNanosecondsPerMillisecond); }

void SleepSeconds(double seconds) {
    if (!(seconds > 0.0)) return;
    // Against the monotonic clock's absolute time, so a signal only resumes the wait.
    const uint64_t until = MonotonicNanoseconds() + static_cast<uint64_t>(std::min(seconds, 3600.0) * 1e9);
    timespec wake{static_cast<time_t>(until / kNanosecondsPerSecond), static_cast<long>(until % kNanosecondsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
    }
}

}  // namespace sys
