#include "platform/sys/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Draw(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(sys::Rand());
    return values;
}

TEST(Random, ReproducesTheClassicSequences) {
    sys::SRand(1);
    EXPECT_EQ(Draw(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    sys::SRand(0);
    EXPECT_EQ(Draw(3), (std::vector<int>{38, 7719, 21238}));
}

TEST(Random, StaysInRangeAndFollowsTheState) {
    sys::SRand(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const uint32_t next = sys::RandState() * 214013u + 2531011u;
        const int value = sys::Rand();
        ASSERT_EQ(sys::RandState(), next);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, sys::kRandMax);
    }
}

}  // namespace
