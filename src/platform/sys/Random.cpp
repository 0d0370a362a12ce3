#include "platform/sys/Random.h"

namespace sys {
namespace {

constexpr uint32_t kMultiplier = 214013;
constexpr uint32_t kIncrement = 2531011;

uint32_t state = 1;

}  // namespace

void SRand(uint32_t seed) { state = seed; }

int Rand() {
    // Unsigned arithmetic wraps at 2^32 by definition, which the sequence relies on.
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

uint32_t RandState() { return state; }

}  // namespace sys
