#pragma once
#include <cstdint>

namespace sys {

// The high-resolution counter and its frequency (counts per second).
uint64_t CounterTicks();
uint64_t CounterFrequency();

// Milliseconds since an arbitrary start, wrapping at 2^32 like a tick count.
uint32_t TickCount();

}  // namespace sys
