#pragma once
// The program's command line: "Window" runs in a window instead of full screen, and
// "NetworkBudget" with a number sets the network game's budget.
#include <cstdint>

#include "core/String.h"

struct CommandLine {
    // Below this a network squad could not be formed at all.
    static constexpr int32_t kMinNetworkBudget = 5000;

    bool fullScreen = true;
    int32_t networkBudget = -1;  // -1: not given
};

// Words are separated by blanks and compared without regard to case; other words are
// ignored, and "NetworkBudget" as the last word changes nothing.
CommandLine ParseCommandLine(const String& text);
// The arguments after the program's name, joined by blanks.
CommandLine ParseCommandLine(int argc, const char* const* argv);
