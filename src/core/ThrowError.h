#pragma once
// The program's one fatal-error exception, and the guard that the entry point wraps the
// whole run in.
#include <cstdint>
#include <functional>

#include "core/String.h"

struct ThrowError {
    int32_t line = 0;  // source line of the throw
    String file;       // source file of the throw
    String message;
    int32_t code = 0;
};

// Builds a ThrowError from its arguments and throws it.
[[noreturn]] void RaiseError(int32_t line, const String& file, const String& message, int32_t code);

// Raises a ThrowError that names the place of the call.
#define VORNS_RAISE_ERROR(message, code) RaiseError(__LINE__, __FILE__, (message), (code))

// The text logged for a fatal error: "source file, line, message, code".
String DescribeError(const ThrowError& error);

// Exit statuses of a run that ended in a fatal error or ran out of memory.
constexpr int kExitFatalError = 1;
constexpr int kExitOutOfMemory = 255;

// Runs the body and returns its result. A ThrowError is written to the debug log and to
// standard error and gives kExitFatalError; running out of memory writes
// "Error: Out of memory" to standard error and gives kExitOutOfMemory.
int RunProtected(const std::function<int()>& body);
