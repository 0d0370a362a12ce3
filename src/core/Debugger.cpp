#include "core/Debugger.h"

#include <string>

#include "platform/sys/Debug.h"
#include "platform/sys/Paths.h"

Debugger& Debugger::Instance() {
    static Debugger instance;
    return instance;
}

Debugger::Debugger() : StringStream(buffer, kBufferSize, 0) {}

Debugger::~Debugger() { CloseLogFile(); }

Debugger& Debugger::Flush() {
    Terminate();
    const char* text = Text();
    if (file_ != nullptr) {
        std::fputs(text, file_);
        std::fflush(file_);
    }
    if (debuggerOutput_) sys::DebugOutput(text);
    if (callback_) callback_(text);
    Seek(0, 0);
    Terminate();
    // A line cut short must not mark every later line.
    ClearError();
    return *this;
}

bool Debugger::OpenLogFile(std::string_view fileName) {
    CloseLogFile();
    // The log is written live, not through a temporary file: what was logged before a
    // crash is what matters.
    const std::string path = sys::ResolvePath(fileName);
    file_ = std::fopen(path.c_str(), "w");
    sys::InvalidateContainingDirectory(path);
    if (file_ != nullptr) return true;
    *this << "Unable to open the file [" << std::string(fileName).c_str() << "]\n";
    Flush();
    return false;
}

void Debugger::CloseLogFile() {
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
}

Debugger& Debugger::Line(std::string_view text) {
    Write(text.data(), static_cast<int>(text.size()));
    *this << "\n";
    return Flush();
}
