#pragma once
// The game's one random generator, with the classic C runtime behaviour that every
// formula scaling by 32767 was written for: state = state * 214013 + 2531011,
// result (state >> 16) & 0x7FFF. The initial seed is 1. Main thread only.
#include <cstdint>

namespace sys {

constexpr int kRandMax = 32767;

void SRand(uint32_t seed);
int Rand();
uint32_t RandState();  // for tests and replays

}  // namespace sys
