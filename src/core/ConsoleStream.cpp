#include "core/ConsoleStream.h"

#include "core/String.h"

ConsoleStream::ConsoleStream() : StringStream(bytes, kConsoleBufferSize, kAppend) {}

ConsoleStream& ConsoleStream::Flush() {
    Terminate();
    const char* text = Text();
    if (sink_ != nullptr && text != nullptr) {
        String line(text);
        if (!line.IsEmpty() && line[line.CharCount() - 1] == '\n') {
            // A line ended with Endl: the line feed is the end of the line, not part of it.
            line = line.Left(line.CharCount() - 1);
        }
        sink_->AddLine(line);
    }
    Seek(0, 0);
    return *this;
}

ConsoleStream& GetConsoleStream() {
    static ConsoleStream stream;
    return stream;
}
