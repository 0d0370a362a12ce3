#include "ui/ConsoleWindow.h"

#include "core/ConsoleStream.h"

ConsoleWindow::ConsoleWindow() : Window("ConsoleWindow") { GetConsoleStream().Attach(this); }

ConsoleWindow::~ConsoleWindow() {
    ConsoleStream& stream = GetConsoleStream();
    if (stream.Sink() == this) {
        stream.Attach(nullptr);
    }
}

void ConsoleWindow::AddLine(const String& line) {
    // Scroll on when the newest line is in view and the new one no longer fits the page.
    const int count = lines_.Count();
    if (firstLine_ + visibleLines_ >= count && count + 1 > visibleLines_) {
        ++firstLine_;
    }
    lines_.Append(line);
}
