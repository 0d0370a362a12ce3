#pragma once
// The global stream of load-problem reports: a loader writes one line and calls Flush,
// which hands the line to the console window once one is attached.
#include "core/StringStream.h"

class ConsoleWindow;

// Lines hold at most kConsoleBufferSize - 1 characters; a longer line is cut and sets
// the error flag.
constexpr int kConsoleBufferSize = 4096;

// The console stream's fixed buffer, a base so that it exists before the stream over it.
struct ConsoleBuffer {
    char bytes[kConsoleBufferSize] = {};
};

class ConsoleStream : private ConsoleBuffer, public StringStream {
public:

    ConsoleStream();

    // Hands the text written since the last flush to the attached window as one line
    // (without a trailing line feed) and starts the next line.
    ConsoleStream& Flush() override;

    void Attach(ConsoleWindow* window) { window_ = window; }
    ConsoleWindow* Window() const { return window_; }

private:
    ConsoleWindow* window_ = nullptr;
};

// The one console stream, made on first use.
ConsoleStream& GetConsoleStream();
