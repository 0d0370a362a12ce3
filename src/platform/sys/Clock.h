#pragma once
#include <cstdint>

namespace sys {

// The high-resolution counter and its frequency (counts per second).
uint64_t CounterTicks();
uint64_t CounterFrequency();

// Milliseconds since an arbitrary start, wrapping at 2^32 like a tick count.
uint32_t TickCount();

// Gives the processor away for about the given time (longer if the system is busy,
// never less unless the process is being stopped). Nothing for zero or less.
void SleepSeconds(double seconds);

}  // namespace sys
