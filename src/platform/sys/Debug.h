#pragma once
// Debug output: where a debugger would see a line. Standard error when enabled (by
// SetDebugOutputEnabled or the environment variable VORNS_DEBUG_OUTPUT=1), else nowhere.
#include <string_view>

namespace sys {

// Writes the text as given; a line ends with its own '\n'.
void DebugOutput(std::string_view text);
void SetDebugOutputEnabled(bool enabled);
bool IsDebugOutputEnabled();

}  // namespace sys
