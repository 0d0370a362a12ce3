#pragma once
// Collects what the debug log writes while alive, keeping it off the debug output.
#include <string>

#include "core/Debugger.h"

namespace platform_test {

class LogLines {
public:
    LogLines() : output_(Debugger::Instance().DebuggerOutput()) {
        Debugger::Instance().SetDebuggerOutput(false);
        Debugger::Instance().SetCallback([this](const char* text) { text_ += text; });
    }
    ~LogLines() {
        Debugger::Instance().SetCallback(nullptr);
        Debugger::Instance().SetDebuggerOutput(output_);
    }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    const std::string& Text() const { return text_; }
    // Whether one line holds every part.
    bool HasLineWith(std::initializer_list<std::string> parts) const {
        size_t start = 0;
        while (start < text_.size()) {
            const size_t end = std::min(text_.find('\n', start), text_.size());
            const std::string line = text_.substr(start, end - start);
            bool all = true;
            for (const std::string& part : parts) {
                all = all && line.find(part) != std::string::npos;
            }
            if (all) {
                return true;
            }
            start = end + 1;
        }
        return false;
    }

private:
    std::string text_;
    bool output_;
};

}  // namespace platform_test
