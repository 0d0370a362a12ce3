#pragma once
// The calling thread's own processor time, for figures that the other programs of a
// busy machine should not inflate as they do wall time.
#include <time.h>

inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1.0e-9 * double(now.tv_nsec);
}
