#pragma once
// The console's window: the lines written to the console stream and the part of them on
// show. The console screen draws them and scrolls the page.
#include "core/Array.h"
#include "core/ConsoleStream.h"
#include "core/String.h"
#include "ui/Window.h"

class ConsoleWindow : public Window, public ConsoleLineSink {
public:
    // The fewest lines a console page shows.
    static constexpr int kMinVisibleLines = 2;

    // Attaches the window to the console stream, which then hands it every line.
    ConsoleWindow();
    ~ConsoleWindow();
    ConsoleWindow(const ConsoleWindow&) = delete;
    ConsoleWindow& operator=(const ConsoleWindow&) = delete;

    // Appends a line; a view showing the newest line scrolls on to keep showing it.
    void AddLine(const String& line) override;

    const StringArray& Lines() const { return lines_; }
    int FirstLine() const { return firstLine_; }
    void SetFirstLine(int line) { firstLine_ = line; }
    int VisibleLines() const { return visibleLines_; }
    void SetVisibleLines(int count) { visibleLines_ = count < kMinVisibleLines ? kMinVisibleLines : count; }

private:
    StringArray lines_;
    int firstLine_ = 0;
    int visibleLines_ = kMinVisibleLines;
};
