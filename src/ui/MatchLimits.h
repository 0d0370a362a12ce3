#pragma once
// The ranges of the match settings the server types into its boxes; the network game
// keeps every value it is given within them too.
#include <cstdint>

namespace match_limits {
constexpr int32_t kSmallestBudget = 25;
constexpr int32_t kMaxSeconds = 86400;  // a day, for every delay and the game timer
}  // namespace match_limits
