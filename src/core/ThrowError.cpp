#include "core/ThrowError.h"

#include <cstdio>
#include <new>

#include "core/Debugger.h"

void RaiseError(int32_t line, const String& file, const String& message, int32_t code) {
    throw ThrowError{line, file, message, code};
}

String DescribeError(const ThrowError& error) {
    return error.file + ", " + String::FromInt(error.line) + ", " + error.message + ", " + String::FromInt(error.code);
}

namespace {

int ReportFatal(const ThrowError& error) {
    const String text = DescribeError(error);
    Debugger::Instance().Line(text.CStr());
    std::fprintf(stderr, "%s\n", text.CStr());
    return kExitFatalError;
}

int ReportOutOfMemory() {
    // Nothing here may allocate: the message goes straight to the stream.
    std::fputs("Error: Out of memory\n", stderr);
    return kExitOutOfMemory;
}

}  // namespace

int RunProtected(const std::function<int()>& body) {
    try {
        return body();
    } catch (const ThrowError& error) {
        return ReportFatal(error);
    } catch (const std::bad_alloc&) {
        return ReportOutOfMemory();
    }
}
