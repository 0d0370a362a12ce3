#pragma once
// The global debug log. Text is written with the stream operators; Flush (or Endl) ends
// the buffered text and sends it to the debug output, the log file and the callback.
// Write the line's own "\n" before flushing.
#include <cstdio>
#include <functional>
#include <string_view>

#include "core/StringStream.h"

// The log's text buffer, a base so that it is zeroed before the stream takes it over.
struct DebuggerBuffer {
    static constexpr int kBufferSize = 4096;
    char buffer[kBufferSize] = {};
};

class Debugger : private DebuggerBuffer, public StringStream {
public:
    // Text beyond kBufferSize - 1 bytes before a flush is cut off (and sets the error flag
    // until the flush).
    using DebuggerBuffer::kBufferSize;
    using Callback = std::function<void(const char* text)>;

    // The program's log, made on first use: debug output on, no file, no callback.
    static Debugger& Instance();

    Debugger();
    ~Debugger() override;

    // Sends the text written since the last flush and starts again at the buffer's start.
    Debugger& Flush() override;

    // Replaces the log file, written as lines arrive so that a crash keeps them. On
    // failure the log says so and goes on without a file.
    bool OpenLogFile(std::string_view fileName);
    void CloseLogFile();
    bool IsLogFileOpen() const { return file_ != nullptr; }

    void SetDebuggerOutput(bool on) { debuggerOutput_ = on; }
    bool DebuggerOutput() const { return debuggerOutput_; }
    void SetCallback(Callback callback) { callback_ = std::move(callback); }

    // Writes the text and a line end, then flushes.
    Debugger& Line(std::string_view text);

private:
    std::FILE* file_ = nullptr;
    bool debuggerOutput_ = true;
    Callback callback_;
};
