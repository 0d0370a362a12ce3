#pragma once
// The global stream of load-problem reports: a loader writes one line and calls Flush,
// which hands the line to the attached line sink (the console window) once there is one.
#include "core/StringStream.h"

class String;

// Takes each line the console stream hands on.
class ConsoleLineSink {
public:
    virtual void AddLine(const String& line) = 0;

protected:
    ~ConsoleLineSink() = default;
};

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

    // Hands the text written since the last flush to the attached sink as one line
    // (without a trailing line feed) and starts the next line; without a sink the line
    // is dropped.
    ConsoleStream& Flush() override;

    void Attach(ConsoleLineSink* sink) { sink_ = sink; }
    ConsoleLineSink* Sink() const { return sink_; }

private:
    ConsoleLineSink* sink_ = nullptr;
};

// The one console stream, made on first use.
ConsoleStream& GetConsoleStream();
